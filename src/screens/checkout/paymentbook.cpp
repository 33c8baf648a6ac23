#include "screens/checkout/paymentbook.h"

#include "base/money.h"
#include "sale/payments.h"
#include "sale/salesession.h"

namespace qiantai {

namespace {

const QString CashCode = QStringLiteral("0001");

} // namespace

void PaymentBook::ResetCheckout()
{
    s_.PaymentEntries.Clear();
    s_.CollectedSales.clear();
    s_.CollectedPreSales.clear();
    s_.CardTransactions.Clear();
    s_.AmountPaid = 0;
    // The amount due was set afresh on entering checkout; a total collected
    // by an abandoned checkout must not reduce this document's own amount.
    s_.UnifiedTotal = 0;
}

double PaymentBook::Remaining() const
{
    return s_.AmountDue - s_.AmountPaid;
}

bool PaymentBook::Covered() const
{
    return s_.AmountPaid - s_.AmountDue > -MoneyEpsilon;
}

bool PaymentBook::MayRecord() const
{
    return s_.AmountDue - s_.AmountPaid <= MoneyEpsilon;
}

void PaymentBook::BookAmountEntry(const TPayment& m, double amount)
{
    AddPaymentEntry(s_, m.Code, m.Kind, QString(), QString(), paysource::AmountEntry, QString(), amount, 0);
}

void PaymentBook::BookMemberCard(const TPayment& m, const MemberCardPayment& p)
{
    AddPaymentEntry(s_, m.Code, paykind::MemberCard, p.CardNo, p.MemberAccount, paysource::MemberCard,
                    QString(), p.Amount, p.Balance - p.Amount);
}

void PaymentBook::BookCustomerAccount(const TPayment& m, const QString& customerCode, double amount)
{
    AddPaymentEntry(s_, m.Code, paykind::CustomerAccount, QString(), QString(), paysource::CustomerAccount,
                    customerCode, amount, 0);
}

void PaymentBook::BookBankCard(const TPayment& m, double amount)
{
    AddPaymentEntry(s_, m.Code, paykind::BankCard, QString(), QString(), paysource::BankCard, QString(),
                    amount, 0);
}

QString PaymentBook::EscRefusal() const
{
    for (const TPayDetail& e : s_.PaymentEntries) {
        switch (e.Kind) {
        case paykind::MemberCard:
            return QStringLiteral("已存在会员卡支付,本次结算必须完成!");
        case paykind::Welfare:
            return QStringLiteral("已存在福利证支付,本次结算必须完成!");
        case paykind::BankCard:
            return QStringLiteral("已存在信用卡支付,本次结算必须完成!");
        default:
            break;
        }
    }
    return {};
}

QString PaymentBook::SuspendRefusal() const
{
    for (const TPayDetail& e : s_.PaymentEntries)
        if (e.Kind != paykind::Cash)
            return QStringLiteral("已存在其他支付方式,不能挂单支付!");
    if (!s_.CollectedSales.isEmpty() || !s_.CollectedPreSales.isEmpty())
        return QStringLiteral("已调入其他单据,不能挂单支付!");
    return {};
}

QString PaymentBook::CollectRefusal() const
{
    return s_.SuspendFlag == 1 ? QStringLiteral("已挂单支付,不能调入其他单据!") : QString();
}

void PaymentBook::Suspend()
{
    // Once suspended nothing is left to book; another entry would stand
    // where the host looks for the suspension entry (the last cash row).
    if (s_.SuspendFlag == 1)
        return;
    AddPaymentEntry(s_, CashCode, paykind::Cash, QString(), QString(), paysource::AmountEntry, QString(),
                    Remaining(), 0);
    s_.SuspendFlag = 1;
}

} // namespace qiantai
