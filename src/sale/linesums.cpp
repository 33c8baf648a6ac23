#include "sale/linesums.h"

#include "base/money.h"
#include "sale/salesession.h"

namespace qiantai {

double LineAmount(const TSaleRecord& line)
{
    return line.NetAmount + line.TaxAmount;
}

double ListAmount(const TSaleRecord& line)
{
    return RoundMoney(line.ListPrice * line.Quantity);
}

double DiscountBasis(const TSaleRecords& lines)
{
    double basis = 0;
    for (const TSaleRecord& line : lines)
        basis += line.LimitedOffer == 1 ? LineAmount(line) : ListAmount(line);
    return basis;
}

double ManualDiscountTotal(const TSaleRecords& lines)
{
    double total = 0;
    for (const TSaleRecord& line : lines)
        total += line.ManualDiscount;
    return total;
}

void SumDocumentTotals(SaleSession& s)
{
    double qty = 0;
    double amount = 0;
    for (const TSaleRecord& line : s.SaleLines) {
        qty += line.Quantity;
        amount += LineAmount(line);
    }
    s.DocTotalQty = qty;
    s.DocTotalAmount = amount;
}

} // namespace qiantai
