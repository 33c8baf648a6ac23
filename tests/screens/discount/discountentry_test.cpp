#include "screens/discount/discountentry.h"

#include "discountfixtures.h"
#include "sale/linesums.h"

#include <gtest/gtest.h>

using namespace qiantai;
using qiantai::test::AddLine;
using qiantai::test::RecordingAuthority;
using Outcome = DiscountEntryResult::Outcome;

namespace {

struct LineState {
    double net, tax, manual, autoDiscount;
    bool operator==(const LineState& o) const
    {
        return net == o.net && tax == o.tax && manual == o.manual && autoDiscount == o.autoDiscount;
    }
};

QList<LineState> States(const TSaleRecords& lines)
{
    QList<LineState> out;
    for (const TSaleRecord& l : lines)
        out.append({l.NetAmount, l.TaxAmount, l.ManualDiscount, l.AutoDiscount});
    return out;
}

DiscountEntryResult Confirm(TSaleRecords& lines, DiscountMode mode, int row, const QString& input,
                            RecordingAuthority& rights, int xsfkz = 0)
{
    const double base = OpeningDiscountValues(mode, row, lines).base;
    return ConfirmDiscount(lines, mode, row, base, input, rights.authority(), xsfkz);
}

} // namespace

TEST(DiscountEntryTest, LineRateAndAmount)
{
    TSaleRecords lines;
    AddLine(lines, "A", 10);
    AddLine(lines, "B", 100, 1, 70, 85, 17);
    RecordingAuthority rights;

    DiscountEntryResult r = Confirm(lines, DiscountMode::LineRate, 2, "90", rights);
    EXPECT_EQ(r.outcome, Outcome::Applied);
    EXPECT_DOUBLE_EQ(r.values.discount, 10);
    EXPECT_DOUBLE_EQ(lines[1].ManualDiscount, 10);
    EXPECT_NEAR(LineAmount(lines[1]), 90, 1e-9);
    EXPECT_DOUBLE_EQ(lines[0].ManualDiscount, 0); // other lines untouched

    r = Confirm(lines, DiscountMode::LineAmount, 2, " 12.5 ", rights);
    EXPECT_EQ(r.outcome, Outcome::Applied);
    EXPECT_DOUBLE_EQ(r.values.rate, 87.5);
    EXPECT_NEAR(LineAmount(lines[1]), 87.5, 1e-9);
    EXPECT_TRUE(rights.asked.isEmpty());
}

TEST(DiscountEntryTest, ARefusedLineKeepsItsAmounts)
{
    TSaleRecords lines;
    AddLine(lines, "B", 100, 1, 70, 85, 17).ManualDiscount = 0;
    const QList<LineState> before = States(lines);
    RecordingAuthority rights;

    DiscountEntryResult r = Confirm(lines, DiscountMode::LineRate, 1, "84", rights);
    EXPECT_EQ(r.outcome, Outcome::Refused);
    EXPECT_EQ(r.message, QStringLiteral("商品B折扣以后的实际售价不能小于最低售价！"));
    EXPECT_EQ(rights.asked, QStringList({"cashier:9907", "grant:9907"}));
    EXPECT_EQ(States(lines), before);
}

TEST(DiscountEntryTest, InputThatIsNoNumberChangesNothing)
{
    TSaleRecords lines;
    AddLine(lines, "A", 10);
    const QList<LineState> before = States(lines);
    RecordingAuthority rights;
    // A sign or an exponent (pasted, since no key types them) is no number
    // either: a typed discount is never negative.
    for (const char* text : {"", "-", "1.2.3", "-10", "1e2", "nan"}) {
        DiscountEntryResult r = Confirm(lines, DiscountMode::WholeAmount, 1, text, rights);
        EXPECT_EQ(r.outcome, Outcome::NotANumber) << text;
        EXPECT_EQ(r.message, QStringLiteral("“%1”不是有效的数字").arg(QLatin1String(text)));
    }
    EXPECT_EQ(States(lines), before);
    EXPECT_TRUE(rights.asked.isEmpty());
}

TEST(DiscountEntryTest, WholeSaleSpreadsByListAmount)
{
    TSaleRecords lines;
    AddLine(lines, "A", 33.33);
    AddLine(lines, "B", 33.33);
    AddLine(lines, "C", 33.34);
    RecordingAuthority rights;

    DiscountEntryResult r = Confirm(lines, DiscountMode::WholeAmount, 4, "10", rights);
    ASSERT_EQ(r.outcome, Outcome::Applied);
    EXPECT_DOUBLE_EQ(lines[0].ManualDiscount, 3.333);
    EXPECT_DOUBLE_EQ(lines[1].ManualDiscount, 3.333);
    EXPECT_DOUBLE_EQ(lines[2].ManualDiscount, 3.334);
    // Rounded per line, not adjusted to the total: 30.00 + 30.00 + 30.01.
    EXPECT_NEAR(LineAmount(lines[0]) + LineAmount(lines[1]) + LineAmount(lines[2]), 90.01, 1e-9);

    // In a store that cuts line amounts to 0.1: 26.66 -> 26.6, 26.67 -> 26.6.
    r = Confirm(lines, DiscountMode::WholeRate, 1, "80", rights, 3);
    ASSERT_EQ(r.outcome, Outcome::Applied);
    EXPECT_DOUBLE_EQ(r.values.discount, 20);
    EXPECT_DOUBLE_EQ(lines[2].ManualDiscount, 6.668);
    EXPECT_NEAR(LineAmount(lines[0]), 26.6, 1e-9);
    EXPECT_NEAR(LineAmount(lines[2]), 26.6, 1e-9);
}

TEST(DiscountEntryTest, EveryLineBelowItsLimitAsksForItself)
{
    TSaleRecords lines;
    AddLine(lines, "A", 100, 1, 0, 95);
    AddLine(lines, "B", 50, 1, 0, 0);
    AddLine(lines, "C", 100, 1, 0, 92);
    RecordingAuthority rights;
    rights.supervisorRights = {"9907"};

    // 10 % off: A and C fall below their lowest prices, B does not.
    DiscountEntryResult r = Confirm(lines, DiscountMode::WholeRate, 1, "90", rights);
    ASSERT_EQ(r.outcome, Outcome::Applied);
    EXPECT_EQ(rights.asked, QStringList({"cashier:9907", "grant:9907", "cashier:9907", "grant:9907"}));
    EXPECT_NEAR(LineAmount(lines[0]), 90, 1e-9);
    EXPECT_NEAR(LineAmount(lines[1]), 45, 1e-9);
    EXPECT_NEAR(LineAmount(lines[2]), 90, 1e-9);
}

TEST(DiscountEntryTest, AFailedLineStopsTheWholeSaleBeforeAnyChange)
{
    TSaleRecords lines;
    AddLine(lines, "A", 100, 1, 0, 95);
    AddLine(lines, "B", 100, 1, 95, 0, 0); // cost 95.00
    AddLine(lines, "C", 100, 1, 0, 99);
    const QList<LineState> before = States(lines);
    RecordingAuthority rights;
    rights.supervisorRights = {"9907"}; // A passes; B is below cost

    DiscountEntryResult r = Confirm(lines, DiscountMode::WholeAmount, 1, "30", rights);
    EXPECT_EQ(r.outcome, Outcome::Refused);
    EXPECT_EQ(r.message, QStringLiteral("商品B折扣以后的实际售价不能小于进价！"));
    // C is never asked about.
    EXPECT_EQ(rights.asked, QStringList({"cashier:9907", "grant:9907", "cashier:9912", "grant:9912"}));
    EXPECT_EQ(States(lines), before);
}

TEST(DiscountEntryTest, WholeSaleLeavesAmountControlledLinesAlone)
{
    TSaleRecords lines;
    AddLine(lines, "A", 100, 1, 0, 0);
    TSaleRecord& typed = AddLine(lines, "S", 0, 1, 20, 0); // amount typed in the grid
    typed.NetAmount = 42.74;
    typed.TaxAmount = 7.26;
    RecordingAuthority rights;

    DiscountEntryResult r = Confirm(lines, DiscountMode::WholeAmount, 1, "10", rights);
    ASSERT_EQ(r.outcome, Outcome::Applied);
    EXPECT_TRUE(rights.asked.isEmpty()); // its cost is not checked either
    EXPECT_NEAR(LineAmount(lines[0]), 90, 1e-9);
    EXPECT_NEAR(LineAmount(lines[1]), 50, 1e-9);
    EXPECT_DOUBLE_EQ(lines[1].ManualDiscount, 0);
}

TEST(DiscountEntryTest, ModeChecksStillHold)
{
    TSaleRecords lines;
    AddLine(lines, "A", 100).LimitedOffer = 1;
    const QList<LineState> before = States(lines);
    RecordingAuthority rights;
    EXPECT_EQ(Confirm(lines, DiscountMode::LineRate, 2, "90", rights).message,
              QStringLiteral("本行没有数据，不能进行单行折扣！"));
    EXPECT_EQ(Confirm(lines, DiscountMode::WholeRate, 1, "90", rights).message,
              QStringLiteral("该单据含有限时限量商品，不允许整单打折！"));
    EXPECT_EQ(States(lines), before);
}
