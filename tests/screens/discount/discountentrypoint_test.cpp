#include "screens/discount/discountentrypoint.h"

#include "discountfixtures.h"
#include "fakehost.h"
#include "qiantai/dispids.h"
#include "sale/linesums.h"
#include "sale/salesession.h"
#include "scriptedexec.h"
#include "shownmessages.h"

#include <gtest/gtest.h>

using namespace qiantai;
using qiantai::test::AddLine;
using qiantai::test::FakeHost;
using qiantai::test::ShownMessages;
using qiantai::test::WhileTyping;

namespace {

// Cashier "C01" holds no right; supervisor "0099" (password "pw") holds both.
class DiscountEntryPointTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SaleSession& s = Session();
        ResetSessionState(s);
        s.HostObject.reset(fake);
        s.Syybm = QStringLiteral("C01");
        fake->on(dispid::VerifyPassword, [](QVariantList& args) {
            return QVariant(args[0] == QStringLiteral("0099") && args[1] == QStringLiteral("pw"));
        });
        fake->on(dispid::CheckPermission,
                 [](QVariantList& args) { return QVariant(args[0] == QStringLiteral("0099")); });
        AddLine(s.SaleLines, "A", 100, 1, 0, 95);  // lowest 95.00
        AddLine(s.SaleLines, "B", 50, 1, 0, 0);    // no limit
        AddLine(s.SaleLines, "C", 200, 1, 0, 185); // lowest 185.00
    }
    void TearDown() override
    {
        ResetSessionState(Session());
        Session().HostObject.reset(nullptr);
        Session().Syybm.clear();
        fake->release();
    }
    // "employee/right" of each CheckPermission call, in order.
    QStringList Checks() const
    {
        QStringList out;
        for (const auto& call : fake->callsTo(dispid::CheckPermission))
            out.append(call.args[0].toString() + "/" + call.args[1].toString());
        return out;
    }
    TSaleRecords& lines() { return Session().SaleLines; }

    FakeHost* fake = new FakeHost;
    ShownMessages shown;
};

} // namespace

TEST_F(DiscountEntryPointTest, WholeSaleRateAuthorizedOncePerLine)
{
    // Mode 1, rate 90: A (90 < 95) and C (180 < 185) each need a supervisor.
    EXPECT_TRUE(WhileTyping("<Down><Enter>90<Enter>0099<Enter>pw<Enter>0099<Enter>pw<Enter>",
                            [&] { return OpenDiscountEntry(nullptr, 4); }));
    EXPECT_EQ(Checks(), QStringList({"C01/9907", "0099/9907", "C01/9907", "0099/9907"}));
    EXPECT_EQ(fake->count(dispid::VerifyPassword), 2);
    EXPECT_NEAR(LineAmount(lines()[0]), 90, 1e-9);
    EXPECT_NEAR(LineAmount(lines()[1]), 45, 1e-9);
    EXPECT_NEAR(LineAmount(lines()[2]), 180, 1e-9);
    EXPECT_DOUBLE_EQ(lines()[2].ManualDiscount, 20);
    EXPECT_TRUE(shown.texts.isEmpty());
}

TEST_F(DiscountEntryPointTest, ACancelledAuthorizationChangesNoLine)
{
    // A is authorized, C's authorization is cancelled: the message names C and
    // A keeps its amount; Esc then leaves the dialog.
    EXPECT_FALSE(WhileTyping("<Down><Enter>90<Enter>0099<Enter>pw<Enter><Esc><Enter><Esc>",
                             [&] { return OpenDiscountEntry(nullptr, 1); }));
    EXPECT_EQ(shown.texts, QStringList({QStringLiteral("商品C折扣以后的实际售价不能小于最低售价！")}));
    EXPECT_EQ(Checks(), QStringList({"C01/9907", "0099/9907", "C01/9907"}));
    for (const TSaleRecord& line : lines())
        EXPECT_DOUBLE_EQ(line.ManualDiscount, 0) << line.ProductCode.toStdString();
    EXPECT_NEAR(LineAmount(lines()[0]), 100, 1e-9);
}

TEST_F(DiscountEntryPointTest, LineAmountOnTheCursorLine)
{
    EXPECT_TRUE(WhileTyping("<Down><Down><Enter>7.5<Enter>", [&] { return OpenDiscountEntry(nullptr, 2); }));
    EXPECT_DOUBLE_EQ(lines()[1].ManualDiscount, 7.5);
    EXPECT_NEAR(LineAmount(lines()[1]), 42.5, 1e-9);
    EXPECT_NEAR(LineAmount(lines()[0]), 100, 1e-9);
    EXPECT_EQ(fake->count(dispid::CheckPermission), 0);
}

TEST_F(DiscountEntryPointTest, CancelledPickerOrDialogChangesNothing)
{
    EXPECT_FALSE(WhileTyping("<Esc>", [&] { return OpenDiscountEntry(nullptr, 1); }));
    EXPECT_FALSE(WhileTyping("<Enter>50<Esc>", [&] { return OpenDiscountEntry(nullptr, 1); }));
    for (const TSaleRecord& line : lines())
        EXPECT_DOUBLE_EQ(line.ManualDiscount, 0);
    EXPECT_EQ(fake->count(dispid::CheckPermission), 0);
}
