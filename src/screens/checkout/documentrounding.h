// Rounding of the document total when checkout is entered.
#pragma once

namespace qiantai {

struct SaleSession;

// What rounding mode `xsfkz` takes off `total`: the difference to the total
// rounded (mode 2) or cut (mode 4) to 0.1, rounded to two decimals; 0 for
// every other mode.
double DocumentRoundingDifference(int xsfkz, double total);

// Sets DocTotalQty and DocTotalAmount from the lines and takes the rounding
// difference d off the total, booking it on the last line: its amount
// excluding tax falls by c = d / (1 + tax rate) rounded, its tax by d - c and
// its automatic discount rises by d. Returns d (0 without lines).
double ApplyDocumentRounding(SaleSession& s);

} // namespace qiantai
