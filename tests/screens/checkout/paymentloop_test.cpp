#include "screens/checkout/paymentloop.h"

#include "checkoutfixture.h"
#include "sale/payments.h"

#include <gtest/gtest.h>

#include <QList>
#include <functional>

namespace qiantai {
namespace {

using test::MethodIndex;

// One scripted answer of a payment screen: OK with an amount, or cancel.
struct Answer {
    bool ok = false;
    double amount = 0;
};

// Payment screens that answer from a script and log what they were shown.
class ScriptedScreens : public PaymentScreens {
public:
    explicit ScriptedScreens(SaleSession& s) : s_(s) {}

    QList<int> picks;      // method indexes, -1 = cancel
    QList<Answer> answers; // for every payment screen in turn
    QStringList log;       // "pick", "amount 0001 100.00", ..., "totals 0001"
    std::function<void(const TPayment&, double)> welfare;

    int PickMethod() override
    {
        log << QStringLiteral("pick");
        return picks.isEmpty() ? -1 : picks.takeFirst();
    }
    bool TakeAmount(const TPayment& m, double remaining, double& amount) override
    {
        return answer(QStringLiteral("amount"), m, remaining, amount);
    }
    bool TakeCustomerAccount(const TPayment& m, double remaining, QString& customer, double& amount) override
    {
        customer = QStringLiteral("K01");
        return answer(QStringLiteral("account"), m, remaining, amount);
    }
    void TakeWelfareCertificates(const TPayment& m, double remaining) override
    {
        log << QStringLiteral("welfare %1 %2").arg(m.Code).arg(remaining, 0, 'f', 2);
        if (welfare)
            welfare(m, remaining);
    }
    bool TakeMemberCard(const TPayment& m, double remaining, MemberCardPayment& p) override
    {
        p.CardNo = QStringLiteral("C9");
        p.MemberAccount = QStringLiteral("M9");
        p.Balance = 100;
        return answer(QStringLiteral("member"), m, remaining, p.Amount);
    }
    bool TakeBankCard(const TPayment& m, double remaining, double& amount) override
    {
        return answer(QStringLiteral("bank"), m, remaining, amount);
    }
    void ShowPaymentTotals(const QString& code) override
    {
        log << QStringLiteral("totals %1 %2").arg(code).arg(TotalByCode(s_, code), 0, 'f', 2);
    }

private:
    bool answer(const QString& what, const TPayment& m, double remaining, double& amount)
    {
        log << QStringLiteral("%1 %2 %3").arg(what, m.Code).arg(remaining, 0, 'f', 2);
        const Answer a = answers.isEmpty() ? Answer{} : answers.takeFirst();
        amount = a.amount;
        return a.ok;
    }
    SaleSession& s_;
};

class PaymentLoopTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::PrepareCheckoutSession(s, QStringLiteral("1"));
        s.AmountDue = 100;
    }
    int idx(const char* code) const { return MethodIndex(s, QString::fromLatin1(code)); }

    SaleSession s;
    ScriptedScreens screens{s};
};

TEST_F(PaymentLoopTest, TwoCashEntriesEndTheLoopWithChange)
{
    screens.picks = {idx("0001"), idx("0001"), idx("0001")};
    screens.answers = {{true, 60}, {true, 50}};
    RunPaymentLoop(s, screens);
    EXPECT_EQ(screens.log, (QStringList{"pick", "amount 0001 100.00", "totals 0001 60.00", "pick",
                                        "amount 0001 40.00", "totals 0001 110.00"}));
    EXPECT_DOUBLE_EQ(s.AmountPaid, 110);
    EXPECT_DOUBLE_EQ(s.AmountPaid - s.AmountDue, 10);
    ASSERT_EQ(s.PaymentEntries.Count(), 2);
    EXPECT_EQ(s.PaymentEntries[1].Source, paysource::AmountEntry);
}

TEST_F(PaymentLoopTest, CancelInAPaymentScreenReturnsToThePicker)
{
    screens.picks = {idx("0002"), idx("0003"), -1};
    screens.answers = {{false, 0}, {true, 30}};
    RunPaymentLoop(s, screens);
    EXPECT_EQ(screens.log, (QStringList{"pick", "amount 0002 100.00", "pick", "amount 0003 100.00",
                                        "totals 0003 30.00", "pick"}));
    ASSERT_EQ(s.PaymentEntries.Count(), 1);
    EXPECT_EQ(s.PaymentEntries[0].Kind, paykind::Simple);
}

TEST_F(PaymentLoopTest, CancelInThePickerEndsTheLoopUnpaid)
{
    screens.picks = {-1};
    RunPaymentLoop(s, screens);
    EXPECT_EQ(screens.log, QStringList{"pick"});
    EXPECT_TRUE(s.PaymentEntries.IsEmpty());
}

TEST_F(PaymentLoopTest, EachKindBooksItsFields)
{
    s.AmountDue = 1000;
    screens.picks = {idx("0005"), idx("0007"), idx("0004"), idx("0006")};
    screens.answers = {{true, 30}, {true, 20}, {true, 10}};
    screens.welfare = [this](const TPayment& m, double) {
        AddPaymentEntry(s, m.Code, m.Kind, QStringLiteral("F1"), QString(), paysource::Welfare, QString(),
                        940, 0);
    };
    RunPaymentLoop(s, screens);

    ASSERT_EQ(s.PaymentEntries.Count(), 4);
    const TPayDetail& member = s.PaymentEntries[0];
    EXPECT_EQ(member.Kind, paykind::MemberCard);
    EXPECT_EQ(member.CardNo, QStringLiteral("C9"));
    EXPECT_EQ(member.MemberAccount, QStringLiteral("M9"));
    EXPECT_EQ(member.Source, paysource::MemberCard);
    EXPECT_DOUBLE_EQ(member.CardBalance, 70); // 100 balance - 30
    const TPayDetail& account = s.PaymentEntries[1];
    EXPECT_EQ(account.Kind, paykind::CustomerAccount);
    EXPECT_EQ(account.CustomerCode, QStringLiteral("K01"));
    EXPECT_EQ(account.Source, paysource::CustomerAccount);
    const TPayDetail& bank = s.PaymentEntries[2];
    EXPECT_EQ(bank.Kind, paykind::BankCard);
    EXPECT_EQ(bank.Source, paysource::BankCard);
    EXPECT_DOUBLE_EQ(bank.Amount, 10);
    EXPECT_EQ(screens.log.last(), QStringLiteral("totals 0006 940.00"));
    EXPECT_DOUBLE_EQ(s.AmountPaid, 1000);
}

TEST_F(PaymentLoopTest, WelfareShowsTotalsEvenWhenItAddsNothing)
{
    screens.picks = {idx("0006"), -1};
    RunPaymentLoop(s, screens);
    EXPECT_EQ(screens.log, (QStringList{"pick", "welfare 0006 100.00", "totals 0006 0.00", "pick"}));
}

TEST_F(PaymentLoopTest, CancelledBankCardAddsNothing)
{
    screens.picks = {idx("0004"), -1};
    screens.answers = {{false, 100}};
    RunPaymentLoop(s, screens);
    EXPECT_TRUE(s.PaymentEntries.IsEmpty());
    EXPECT_EQ(screens.log, (QStringList{"pick", "bank 0004 100.00", "pick"}));
}

TEST_F(PaymentLoopTest, CreditCardWithoutTerminalIsAnAmountEntry)
{
    test::PrepareCheckoutSession(s, QStringLiteral("0"));
    s.AmountDue = 100;
    screens.picks = {idx("0004")};
    screens.answers = {{true, 100}};
    RunPaymentLoop(s, screens);
    EXPECT_EQ(screens.log[1], QStringLiteral("amount 0004 100.00"));
    EXPECT_EQ(s.PaymentEntries[0].Kind, paykind::Simple);
}

TEST_F(PaymentLoopTest, LoopEndsWithinTheTolerance)
{
    screens.picks = {idx("0001"), idx("0001")};
    screens.answers = {{true, 99.996}, {true, 1}};
    RunPaymentLoop(s, screens);
    // 99.996 of 100 covers it: the picker is not shown again.
    EXPECT_EQ(s.PaymentEntries.Count(), 1);

    PaymentBook book(s);
    EXPECT_TRUE(book.MayRecord());
    s.PaymentEntries.Clear();
    s.AmountPaid = 0;
    screens.picks = {idx("0001"), -1};
    screens.answers = {{true, 99.99}};
    RunPaymentLoop(s, screens);
    EXPECT_FALSE(book.MayRecord());
    EXPECT_EQ(screens.log.last(), QStringLiteral("pick"));
}

} // namespace
} // namespace qiantai
