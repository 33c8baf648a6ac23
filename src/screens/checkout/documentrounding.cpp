#include "screens/checkout/documentrounding.h"

#include "base/money.h"
#include "base/numbers.h"
#include "sale/linesums.h"
#include "sale/salesession.h"

namespace qiantai {

namespace {

constexpr int RoundToTotal = 2;
constexpr int TruncateTotal = 4;

} // namespace

double DocumentRoundingDifference(int xsfkz, double total)
{
    if (xsfkz == RoundToTotal)
        return RoundMoney(total - RoundDecimals(1, total));
    if (xsfkz == TruncateTotal)
        return RoundMoney(total - TruncDecimals(1, total));
    return 0;
}

double ApplyDocumentRounding(SaleSession& s)
{
    SumDocumentTotals(s);
    const double amount = s.DocTotalAmount;
    if (s.SaleLines.IsEmpty())
        return 0;
    const double d = DocumentRoundingDifference(s.Xsfkz, amount);
    if (d == 0)
        return 0;
    s.DocTotalAmount = RoundMoney(amount - d);
    TSaleRecord& last = s.SaleLines.Item(s.SaleLines.Count() - 1);
    const double c = RoundMoney(d / (1 + last.TaxRate / 100));
    last.NetAmount = RoundMoney(last.NetAmount - c);
    last.TaxAmount = RoundMoney(last.TaxAmount - (d - c));
    last.AutoDiscount = RoundMoney(last.AutoDiscount + d);
    return d;
}

} // namespace qiantai
