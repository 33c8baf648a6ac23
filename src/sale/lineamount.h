// Setting a line's amount: the store's line rounding and the net/tax split.
#pragma once

#include "sale/saleitems.h"

namespace qiantai {

// A line amount (already at two decimals) after the store's rounding mode
// Xsfkz: 1 rounds it to 0.1, 3 cuts it to 0.1; any other mode leaves it
// (modes 2 and 4 act on the document total instead).
double RoundLineAmount(double amount, int xsfkz);

// Whether the rounding mode Xsfkz acts on each line (1 and 3).
bool RoundsEachLine(int xsfkz);

// Makes `amount` the line amount: NetAmount is the amount without the line's
// tax rate, rounded to two decimals, and TaxAmount the rest.
void SetLineAmount(TSaleRecord& line, double amount);

} // namespace qiantai
