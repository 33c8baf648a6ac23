#include "screens/discount/frmzkszrules.h"

#include "discountfixtures.h"
#include "sale/linesums.h"

#include <gtest/gtest.h>

using namespace qiantai;
using qiantai::test::AddLine;
using qiantai::test::RecordingAuthority;
using Outcome = DiscountEntryResult::Outcome;

TEST(DiscountRulesTest, LimitTotalsAreNotRounded)
{
    TSaleRecords lines;
    TSaleRecord& line = AddLine(lines, "A", 100, 3, 70.005, 33.333, 17);
    EXPECT_DOUBLE_EQ(MinimumTotal(line), 33.333 * 3);
    EXPECT_DOUBLE_EQ(CostTotal(line), 70.005 * 3 * 1.17);
}

TEST(DiscountRulesTest, OpeningValues)
{
    TSaleRecords lines;
    AddLine(lines, "A", 50).ManualDiscount = 5;
    AddLine(lines, "B", 12.5, 3).ManualDiscount = 2.5;
    TSaleRecord& offer = AddLine(lines, "C", 40);
    offer.LimitedOffer = 1;
    offer.NetAmount = 25.64;
    offer.TaxAmount = 4.36; // offer price 30.00

    struct Case {
        DiscountMode mode;
        int row;
        double base, discount, rate;
    };
    const Case cases[] = {
        // 5.00 off a list amount of 50.00 shows rate 90 and amount 5.
        {DiscountMode::LineRate, 1, 50, 5, 90},
        {DiscountMode::LineAmount, 1, 50, 5, 90},
        {DiscountMode::LineRate, 2, 37.5, 2.5, 100 - 2.5 * 100 / 37.5},
        // The offer line counts with its current amount in the whole sale.
        {DiscountMode::WholeRate, 2, 117.5, 7.5, 100 - 7.5 * 100 / 117.5},
        {DiscountMode::WholeAmount, 4, 117.5, 7.5, 100 - 7.5 * 100 / 117.5},
        {DiscountMode::LineRate, 4, 0, 0, 100}, // no line under the cursor
    };
    for (const Case& c : cases) {
        const DiscountValues v = OpeningDiscountValues(c.mode, c.row, lines);
        EXPECT_DOUBLE_EQ(v.base, c.base) << "mode " << int(c.mode) << " row " << c.row;
        EXPECT_DOUBLE_EQ(v.discount, c.discount) << "mode " << int(c.mode) << " row " << c.row;
        EXPECT_DOUBLE_EQ(v.rate, c.rate) << "mode " << int(c.mode) << " row " << c.row;
    }
}

TEST(DiscountRulesTest, RateIsHundredOnANearZeroBase)
{
    EXPECT_DOUBLE_EQ(RateFromDiscount(3, 0.005), 100);
    EXPECT_DOUBLE_EQ(RateFromDiscount(3, -20), 100);
    EXPECT_DOUBLE_EQ(RateFromDiscount(0.01, 0.01), 0);
    EXPECT_DOUBLE_EQ(DiscountFromRate(84, 100), 16);
    EXPECT_DOUBLE_EQ(DiscountFromRate(120, 50), -10);
}

TEST(DiscountRulesTest, SharesFollowTheListAmounts)
{
    TSaleRecords lines;
    AddLine(lines, "A", 30);
    AddLine(lines, "B", 70);
    QVector<double> shares = WholeSaleShares(lines, 10, DiscountBasis(lines));
    ASSERT_EQ(shares.size(), 2);
    EXPECT_DOUBLE_EQ(shares[0], 3);
    EXPECT_DOUBLE_EQ(shares[1], 7);

    TSaleRecords thirds;
    AddLine(thirds, "A", 33.33);
    AddLine(thirds, "B", 33.33);
    AddLine(thirds, "C", 33.34);
    shares = WholeSaleShares(thirds, 10, DiscountBasis(thirds));
    ASSERT_EQ(shares.size(), 3);
    EXPECT_DOUBLE_EQ(shares[0], 3.333);
    EXPECT_DOUBLE_EQ(shares[1], 3.333);
    EXPECT_DOUBLE_EQ(shares[2], 3.334);

    EXPECT_EQ(WholeSaleShares(lines, 10, 0.004), QVector<double>({0.0, 0.0}));
}

// List amount 100.00, purchase 70.00 at 17 % (cost total 81.90), lowest 85.00.
class LineLimitTest : public ::testing::Test {
protected:
    void SetUp() override { AddLine(lines, "P01", 100, 1, 70, 85, 17); }
    bool Check(double discount)
    {
        message.clear();
        return CheckLineDiscount(lines[0], discount, 0, rights.authority(), message);
    }

    TSaleRecords lines;
    RecordingAuthority rights;
    QString message;
};

TEST_F(LineLimitTest, AboveTheLowestPriceAsksNothing)
{
    EXPECT_TRUE(Check(10));  // rate 90
    EXPECT_TRUE(Check(15));  // exactly the lowest price
    EXPECT_TRUE(Check(-20)); // a negative discount raises the amount
    EXPECT_TRUE(rights.asked.isEmpty());
}

TEST_F(LineLimitTest, BelowTheLowestPriceNeedsItsRight)
{
    EXPECT_FALSE(Check(16)); // rate 84
    EXPECT_EQ(rights.asked, QStringList({"cashier:9907", "grant:9907"}));
    EXPECT_EQ(message, QStringLiteral("商品P01折扣以后的实际售价不能小于最低售价！"));

    rights.asked.clear();
    rights.supervisorRights = {"9907"};
    EXPECT_TRUE(Check(16));
    EXPECT_EQ(rights.asked, QStringList({"cashier:9907", "grant:9907"}));

    rights.asked.clear();
    rights.cashierRights = {"9907"};
    EXPECT_TRUE(Check(16));
    EXPECT_EQ(rights.asked, QStringList({"cashier:9907"}));
}

TEST_F(LineLimitTest, BelowCostNeedsOnlyTheCostRight)
{
    EXPECT_FALSE(Check(20)); // rate 80
    EXPECT_EQ(rights.asked, QStringList({"cashier:9912", "grant:9912"}));
    EXPECT_EQ(message, QStringLiteral("商品P01折扣以后的实际售价不能小于进价！"));

    rights.asked.clear();
    rights.supervisorRights = {"9912"}; // 9907 is not asked once below cost
    EXPECT_TRUE(Check(20));
    EXPECT_EQ(rights.asked, QStringList({"cashier:9912", "grant:9912"}));

    // A supervisor with only the lowest-price right does not cover cost.
    rights.asked.clear();
    rights.supervisorRights = {"9907"};
    EXPECT_FALSE(Check(20));
    EXPECT_EQ(rights.asked, QStringList({"cashier:9912", "grant:9912"}));
}

// Under the store's line rounding the limits hold for the amount the line
// stores: 84.65 cut (mode 3) and 84.64 rounded (mode 1) both store 84.60,
// below the lowest price 84.65.
TEST(DiscountRulesTest, LimitsHoldForTheStoredAmount)
{
    const struct {
        int xsfkz;
        double discount;
        const char* asked; // the right asked for, none when empty
    } lowest[] = {{0, 15.35, ""}, {3, 15.35, "9907"}, {1, 15.36, "9907"}, {1, 15.35, ""}, {2, 15.35, ""}};
    for (const auto& c : lowest) {
        TSaleRecords lines;
        AddLine(lines, "P02", 100, 1, 0, 84.65, 17);
        RecordingAuthority rights;
        QString message;
        EXPECT_EQ(CheckLineDiscount(lines[0], c.discount, c.xsfkz, rights.authority(), message), !*c.asked)
            << c.xsfkz << " " << c.discount;
        EXPECT_EQ(rights.asked, *c.asked ? QStringList({QStringLiteral("cashier:") + c.asked,
                                                        QStringLiteral("grant:") + c.asked})
                                         : QStringList())
            << c.xsfkz << " " << c.discount;
    }
    // Cost total 70.01 x 1.17 = 81.9117: 81.92 passes, cut to 81.90 it is below.
    for (int xsfkz : {0, 3}) {
        TSaleRecords lines;
        AddLine(lines, "P03", 100, 1, 70.01, 0, 17);
        RecordingAuthority rights;
        QString message;
        EXPECT_EQ(CheckLineDiscount(lines[0], 18.08, xsfkz, rights.authority(), message), xsfkz == 0);
        EXPECT_EQ(rights.asked.size(), xsfkz == 0 ? 0 : 2) << xsfkz;
    }
}

TEST(DiscountRulesTest, ZeroPricedLine)
{
    TSaleRecords lines;
    TSaleRecord& line = AddLine(lines, "Z9", 40, 1, 0, 0);
    RecordingAuthority rights;
    QString message;

    // Exactly the list amount off: amount 0.00, no check.
    EXPECT_TRUE(CheckLineDiscount(line, 40, 0, rights.authority(), message));
    EXPECT_TRUE(rights.asked.isEmpty());

    // More than the list amount: below the cost total 0, so the cost right.
    EXPECT_FALSE(CheckLineDiscount(line, 45, 0, rights.authority(), message));
    EXPECT_EQ(rights.asked, QStringList({"cashier:9912", "grant:9912"}));
    EXPECT_EQ(message, QStringLiteral("商品Z9折扣以后的实际售价不能小于进价！"));
}

TEST(DiscountRulesTest, BelowAZeroMinimumIsRefusedOutright)
{
    // A return line: cost total -35.10, minimum 0; an amount of -30.00 is not
    // below cost but below the minimum, which no right can cover.
    TSaleRecords lines;
    TSaleRecord& line = AddLine(lines, "R1", 50, -1, 30, 0);
    RecordingAuthority rights;
    rights.cashierRights = {"9907", "9912"};
    QString message;
    EXPECT_FALSE(CheckLineDiscount(line, -20, 0, rights.authority(), message));
    EXPECT_TRUE(rights.asked.isEmpty());
    EXPECT_EQ(message, QStringLiteral("商品R1折扣以后的实际销售金额不能小于等于零！"));
}

TEST(DiscountRulesTest, ApplyingADiscount)
{
    TSaleRecords lines;
    TSaleRecord& line = AddLine(lines, "A", 33.33, 1, 0, 0, 17);
    line.AutoDiscount = 1.5;
    line.UnitPrice = 31.83;
    ApplyLineDiscount(line, 3.333, 0);
    EXPECT_DOUBLE_EQ(line.ManualDiscount, 3.333); // all decimals kept
    EXPECT_DOUBLE_EQ(line.AutoDiscount, 0);
    EXPECT_DOUBLE_EQ(line.NetAmount, 25.64); // 30.00 / 1.17
    EXPECT_DOUBLE_EQ(LineAmount(line), 30.0);
    EXPECT_DOUBLE_EQ(line.UnitPrice, 31.83);
    EXPECT_DOUBLE_EQ(line.ListPrice, 33.33);
    EXPECT_DOUBLE_EQ(line.Quantity, 1);

    ApplyLineDiscount(line, -10, 0); // raises the amount above list
    EXPECT_NEAR(LineAmount(line), 43.33, 1e-9);
    EXPECT_DOUBLE_EQ(line.NetAmount, 37.03);
    EXPECT_DOUBLE_EQ(line.ManualDiscount, -10);
}

// Net := (q x p - d) / (1 + t / 100) rounded, tax := (q x p - d) rounded
// minus net: 9.973 / 1.13 = 8.8257 gives 8.83, where the rounded 9.97 / 1.13
// = 8.8230 would give 8.82.
TEST(DiscountRulesTest, NetIsTakenFromTheUnroundedAmount)
{
    TSaleRecords lines;
    TSaleRecord& line = AddLine(lines, "N", 10, 1, 0, 0, 13);
    ApplyLineDiscount(line, 0.027, 0);
    EXPECT_DOUBLE_EQ(line.NetAmount, 8.83);
    EXPECT_NEAR(line.TaxAmount, 1.14, 1e-9);
    EXPECT_NEAR(LineAmount(line), 9.97, 1e-9);
}

TEST(DiscountRulesTest, ApplyingKeepsTheStoreLineRounding)
{
    // 100.00 - 3.33 = 96.67: mode 1 rounds to 96.7, mode 3 cuts to 96.6; what
    // the rounding took off stays as the line's automatic discount.
    const struct {
        int xsfkz;
        double amount, autoDiscount;
    } cases[] = {{0, 96.67, 0}, {1, 96.7, -0.03}, {3, 96.6, 0.07}, {2, 96.67, 0}};
    for (const auto& c : cases) {
        TSaleRecords lines;
        TSaleRecord& line = AddLine(lines, "A", 100, 1, 0, 0, 17);
        ApplyLineDiscount(line, 3.33, c.xsfkz);
        EXPECT_NEAR(LineAmount(line), c.amount, 1e-9) << "mode " << c.xsfkz;
        EXPECT_DOUBLE_EQ(line.NetAmount, RoundMoney(c.amount / 1.17)) << "mode " << c.xsfkz;
        EXPECT_DOUBLE_EQ(line.ManualDiscount, 3.33) << "mode " << c.xsfkz;
        EXPECT_DOUBLE_EQ(line.AutoDiscount, c.autoDiscount) << "mode " << c.xsfkz;
    }
}

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

// Line and whole-sale rate 84.65 under the store's cut to 0.1 (mode 3)
// would store 84.60, below the lowest price 84.65: both ask for the right,
// and nothing changes when it is refused.
TEST(DiscountEntryTest, LimitsHoldForTheAmountTheLineStores)
{
    for (DiscountMode mode : {DiscountMode::LineRate, DiscountMode::WholeRate}) {
        TSaleRecords lines;
        AddLine(lines, "P", 100, 1, 0, 84.65);
        const QList<LineState> before = States(lines);
        RecordingAuthority rights;
        const DiscountEntryResult r = Confirm(lines, mode, 1, "84.65", rights, 3);
        EXPECT_EQ(r.outcome, Outcome::Refused) << int(mode);
        EXPECT_EQ(r.message, QStringLiteral("商品P折扣以后的实际售价不能小于最低售价！"));
        EXPECT_EQ(rights.asked, QStringList({"cashier:9907", "grant:9907"})) << int(mode);
        EXPECT_EQ(States(lines), before);

        rights.supervisorRights = {"9907"};
        EXPECT_EQ(Confirm(lines, mode, 1, "84.65", rights, 3).outcome, Outcome::Applied);
        EXPECT_NEAR(LineAmount(lines[0]), 84.6, 1e-9);
    }
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
