#include "screens/checkout/paymentbook.h"

#include "checkoutfixture.h"
#include "sale/payments.h"

#include <gtest/gtest.h>

namespace qiantai {
namespace {

class PaymentBookTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::PrepareCheckoutSession(s, QStringLiteral("1"));
        s.AmountDue = 100;
    }
    void pay(const char* code, double amount)
    {
        const TPayment& m = s.PaymentMethods[test::MethodIndex(s, QString::fromLatin1(code))];
        AddPaymentEntry(s, m.Code, m.Kind, {}, {}, 0, {}, amount, 0);
    }

    SaleSession s;
    PaymentBook book{s};
};

TEST_F(PaymentBookTest, EscIsRefusedForTheFirstCardEntry)
{
    pay("0001", 10);
    pay("0002", 10);
    EXPECT_TRUE(book.EscRefusal().isEmpty());
    pay("0004", 10); // bank card (kind 5)
    pay("0005", 10);
    EXPECT_EQ(book.EscRefusal(), QStringLiteral("已存在信用卡支付,本次结算必须完成!"));

    s.PaymentEntries.Clear();
    pay("0006", 10);
    pay("0005", 10);
    EXPECT_EQ(book.EscRefusal(), QStringLiteral("已存在福利证支付,本次结算必须完成!"));
    s.PaymentEntries.Clear();
    pay("0007", 10); // customer account does not bind the checkout
    pay("0005", 10);
    EXPECT_EQ(book.EscRefusal(), QStringLiteral("已存在会员卡支付,本次结算必须完成!"));
}

TEST_F(PaymentBookTest, SuspendBooksTheRestAsCash)
{
    pay("0001", 30);
    ASSERT_TRUE(book.SuspendRefusal().isEmpty());
    book.Suspend();
    ASSERT_EQ(s.PaymentEntries.Count(), 2);
    EXPECT_EQ(s.PaymentEntries[1].Code, QStringLiteral("0001"));
    EXPECT_DOUBLE_EQ(s.PaymentEntries[1].Amount, 70);
    EXPECT_EQ(s.SuspendFlag, 1);
    EXPECT_TRUE(book.MayRecord());
}

TEST_F(PaymentBookTest, SuspensionEntryStaysTheLastCashRowWhenF7IsPressedAgain)
{
    pay("0001", 30);
    book.Suspend();
    book.Suspend();
    ASSERT_EQ(s.PaymentEntries.Count(), 2);
    EXPECT_DOUBLE_EQ(s.PaymentEntries[1].Amount, 70);
    EXPECT_DOUBLE_EQ(s.AmountPaid, 100);
}

TEST_F(PaymentBookTest, SuspendAfterTooMuchCashZeroesTheChange)
{
    pay("0001", 120);
    book.Suspend();
    EXPECT_DOUBLE_EQ(s.PaymentEntries[1].Amount, -20);
    EXPECT_DOUBLE_EQ(s.AmountPaid - s.AmountDue, 0);
}

TEST_F(PaymentBookTest, SuspendRefusals)
{
    pay("0002", 10);
    EXPECT_EQ(book.SuspendRefusal(), QStringLiteral("已存在其他支付方式,不能挂单支付!"));
    s.PaymentEntries.Clear();
    s.CollectedPreSales << QStringLiteral("201001000001");
    EXPECT_EQ(book.SuspendRefusal(), QStringLiteral("已调入其他单据,不能挂单支付!"));
}

TEST_F(PaymentBookTest, NoDocumentIsCollectedOnceSuspended)
{
    EXPECT_TRUE(book.CollectRefusal().isEmpty());
    pay("0001", 30);
    book.Suspend();
    EXPECT_EQ(book.CollectRefusal(), QStringLiteral("已挂单支付,不能调入其他单据!"));
}

TEST_F(PaymentBookTest, ResetClearsTheCheckoutOnly)
{
    pay("0001", 10);
    s.CardTransactions.Add();
    s.CollectedSales << QStringLiteral("0000000001");
    s.UnifiedTotal = 5;
    book.ResetCheckout();
    EXPECT_TRUE(s.PaymentEntries.IsEmpty());
    EXPECT_TRUE(s.CardTransactions.IsEmpty());
    EXPECT_TRUE(s.CollectedSales.isEmpty());
    EXPECT_EQ(s.AmountPaid, 0);
    // The collected total goes with its list: it must not reduce the amount
    // of this document handed to a delivery recording.
    EXPECT_EQ(s.UnifiedTotal, 0);
    EXPECT_EQ(s.AmountDue, 100);
}

TEST_F(PaymentBookTest, NothingDueMayRecordAtOnce)
{
    s.AmountDue = 0;
    EXPECT_TRUE(book.MayRecord());
    EXPECT_TRUE(book.Covered());
}

} // namespace
} // namespace qiantai
