// Pricing a sale line on the grid, with the store's line rounding and net/tax
// split of sale/lineamount.h.
#pragma once

#include "sale/saleitems.h"

namespace qiantai {

// quantity x unitPrice rounded to two decimals, then RoundLineAmount.
double LineAmountOf(double quantity, double unitPrice, int xsfkz);

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
