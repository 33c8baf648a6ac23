// Amounts of a sale line under the store's rounding mode Xsfkz: 1 rounds
// each line to 0.1, 3 truncates it to 0.1, every other mode keeps cents
// (modes 2 and 4 act on the document total at checkout instead).
#pragma once

#include "sale/saleitems.h"

namespace qiantai {

// `amount` (already at two decimals) after the line-level rounding of
// `xsfkz`.
double ApplyLineRounding(double amount, int xsfkz);

// quantity x unitPrice rounded to two decimals, then ApplyLineRounding.
double LineAmountOf(double quantity, double unitPrice, int xsfkz);

// NetAmount := amount / (1 + TaxRate/100) to two decimals; TaxAmount := the
// rest of `amount`.
void SplitNetAndTax(TSaleRecord& line, double amount);

// A line priced from quantity and unit price: its amount, net and tax, and
// AutoDiscount = the list amount of `quantity` minus that amount. Quantity,
// UnitPrice and ManualDiscount are left to the caller.
void ComputeLineAmounts(TSaleRecord& line, double quantity, double unitPrice, int xsfkz);

// A line whose amount was typed: both values are taken to two decimals, the
// amount then rounded as `xsfkz` says. AutoDiscount becomes 0 and Quantity
// the typed quantity. On a priced line (quantity and list price above 0.005)
// UnitPrice becomes amount / quantity, unrounded, and the whole difference to
// the list amount becomes ManualDiscount; amount-controlled lines keep their
// unit price and manual discount.
void ApplyTypedAmount(TSaleRecord& line, double quantity, double amount, int xsfkz);

} // namespace qiantai
