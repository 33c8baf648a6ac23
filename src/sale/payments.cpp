#include "sale/payments.h"

#include "base/money.h"
#include "sale/salesession.h"

namespace qiantai {

TPayDetail& AddPaymentEntry(SaleSession& s, const QString& code, quint8 kind, const QString& cardNo,
                            const QString& memberAccount, qint32 source, const QString& customerCode,
                            double amount, double cardBalance)
{
    TPayDetail& e = s.PaymentEntries.Add();
    e.Code = code;
    e.Kind = kind;
    e.CardNo = cardNo;
    e.MemberAccount = memberAccount;
    e.Source = source;
    e.CustomerCode = customerCode;
    e.Amount = amount;
    e.CardBalance = cardBalance;
    s.AmountPaid += amount;
    return e;
}

double TotalByCode(const SaleSession& s, const QString& code)
{
    double total = 0;
    for (const TPayDetail& e : s.PaymentEntries)
        if (e.Code == code)
            total += e.Amount;
    return total;
}

double TotalByKind(const SaleSession& s, quint8 kind)
{
    double total = 0;
    for (const TPayDetail& e : s.PaymentEntries)
        if (e.Kind == kind)
            total += e.Amount;
    return total;
}

bool CheckPaymentCap(const SaleSession& s, quint8 kind, double amount)
{
    // Change always comes out of cash, so only cash may exceed what is due.
    if (kind == paykind::Cash)
        return true;
    const double cash = TotalByKind(s, paykind::Cash);
    const double excess = s.AmountPaid + amount - s.AmountDue;
    return !(excess - MoneyEpsilon > cash);
}

} // namespace qiantai
