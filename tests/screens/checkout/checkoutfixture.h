// A session with the payment-method table and a few sale lines, for the
// checkout rules.
#pragma once

#include "sale/paymenttable.h"
#include "sale/salesession.h"

namespace qiantai::test {

inline TSaleRecord& AddLine(SaleSession& s, const QString& code, double net, double tax, double taxRate)
{
    TSaleRecord& l = s.SaleLines.Add();
    l.ProductCode = code;
    l.ProductName = QStringLiteral("商品") + code;
    l.NetAmount = net;
    l.TaxAmount = tax;
    l.TaxRate = taxRate;
    return l;
}

// Index of a method in the payment table by code.
inline int MethodIndex(const SaleSession& s, const QString& code)
{
    for (int i = 0; i < s.PaymentMethods.Count(); ++i)
        if (s.PaymentMethods[i].Code == code)
            return i;
    return -1;
}

inline void PrepareCheckoutSession(SaleSession& s, const QString& xyklx = QStringLiteral("0"))
{
    s = SaleSession();
    s.Xyklx = xyklx;
    BuildPaymentMethods(s);
}

} // namespace qiantai::test
