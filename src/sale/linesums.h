// Sums over the sale lines used by the totals and the discount screens.
#pragma once

#include "sale/saleitems.h"

namespace qiantai {

struct SaleSession;

// NetAmount + TaxAmount: what the line costs the customer.
double LineAmount(const TSaleRecord& line);

// ListPrice x Quantity rounded to two decimals.
double ListAmount(const TSaleRecord& line);

// Sum of the list amounts, except that a line priced by a limited offer
// counts with its current line amount.
double DiscountBasis(const TSaleRecords& lines);

// Sum of ManualDiscount over the lines.
double ManualDiscountTotal(const TSaleRecords& lines);

// Sums the sale lines into DocTotalQty and DocTotalAmount.
void SumDocumentTotals(SaleSession& s);

} // namespace qiantai
