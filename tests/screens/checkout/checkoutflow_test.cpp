#include "screens/checkout/checkoutflow.h"

#include "checkoutfixture.h"

#include <gtest/gtest.h>

namespace qiantai {
namespace {

class ScriptedEntry : public CheckoutEntryScreens {
public:
    bool depositOk = true;
    double deposit = 0;
    bool khxxOk = true;
    QString khxx;
    bool settled = true;
    QStringList log;
    double dueAtSettlement = -1;
    SaleSession* s = nullptr;

    void ShowLastLine() override { log << QStringLiteral("last line"); }
    bool TakeDeposit(double total, bool readOnly, double& amount) override
    {
        log << QStringLiteral("deposit %1 %2").arg(total, 0, 'f', 2).arg(readOnly ? "ro" : "rw");
        amount = deposit;
        return depositOk;
    }
    bool EditCustomerInfo(QString& text) override
    {
        log << QStringLiteral("khxx ") + text;
        text = khxx;
        return khxxOk;
    }
    bool RunSettlement() override
    {
        log << QStringLiteral("settlement");
        dueAtSettlement = s->AmountDue;
        return settled;
    }
};

class CheckoutFlowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::PrepareCheckoutSession(s);
        test::AddLine(s, QStringLiteral("A"), 4273.50, 726.50, 17); // 5000.00
        s.Khxx = QStringLiteral("old");
        screens.s = &s;
    }
    SaleSession s;
    ScriptedEntry screens;
};

TEST_F(CheckoutFlowTest, StorePickupDueIsTheTotalWithoutDeposit)
{
    screens.khxx = QStringLiteral("new");
    EXPECT_TRUE(RunCheckoutEntry(s, screens));
    EXPECT_EQ(screens.log, (QStringList{"khxx old", "settlement"}));
    EXPECT_DOUBLE_EQ(screens.dueAtSettlement, 5000);
    EXPECT_EQ(s.Khxx, QStringLiteral("new"));
}

TEST_F(CheckoutFlowTest, DeliveryDueIsTheDeposit)
{
    s.Xsfs = 1;
    s.Fqedj = QStringLiteral("0");
    screens.deposit = 1000;
    screens.khxxOk = false;
    screens.khxx = QStringLiteral("discarded");
    screens.settled = false;
    EXPECT_FALSE(RunCheckoutEntry(s, screens));
    EXPECT_EQ(screens.log, (QStringList{"deposit 5000.00 ro", "khxx old", "settlement"}));
    EXPECT_DOUBLE_EQ(screens.dueAtSettlement, 1000);
    EXPECT_DOUBLE_EQ(s.DepositAmount, 1000);
    EXPECT_EQ(s.Khxx, QStringLiteral("old"));
}

TEST_F(CheckoutFlowTest, CancelledDepositEndsEntering)
{
    s.Xsfs = 3;
    s.AmountDue = 7;
    screens.depositOk = false;
    EXPECT_FALSE(RunCheckoutEntry(s, screens));
    EXPECT_EQ(screens.log, QStringList{"deposit 5000.00 rw"});
    EXPECT_EQ(s.AmountDue, 7);
}

TEST_F(CheckoutFlowTest, RoundingShowsTheLastLineAgain)
{
    s.Xsfkz = 4;
    s.SaleLines[0].NetAmount = 4273.55; // 5000.05
    EXPECT_TRUE(RunCheckoutEntry(s, screens));
    EXPECT_EQ(screens.log.first(), QStringLiteral("last line"));
    EXPECT_DOUBLE_EQ(screens.dueAtSettlement, 5000);
}

TEST_F(CheckoutFlowTest, NoLinesNoCheckout)
{
    s.SaleLines.Clear();
    EXPECT_FALSE(RunCheckoutEntry(s, screens));
    EXPECT_TRUE(screens.log.isEmpty());
}

} // namespace
} // namespace qiantai
