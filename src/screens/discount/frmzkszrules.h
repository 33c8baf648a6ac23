// Rules of the discount dialog: the values it opens with, the limits a
// discounted line must keep, the whole-sale shares, writing a discount into a
// line and Enter, which does all of it. No widget here.
#pragma once

#include "sale/saleitems.h"
#include "screens/discount/frmsgzkrules.h"

#include <QString>
#include <QVector>

#include <functional>

namespace qiantai {

// Host rights that let a line go below its limits.
inline const QString RightBelowLowestPrice = QStringLiteral("9907");
inline const QString RightBelowCost = QStringLiteral("9912");

// A product with list price 0 takes its amount as typed, not from a price.
bool IsAmountControlled(const TSaleRecord& line);

// LowestPrice x Quantity, not rounded.
double MinimumTotal(const TSaleRecord& line);
// LastPurchasePrice x Quantity x (1 + TaxRate / 100), not rounded: the
// purchase price is without tax, the sale amounts with it.
double CostTotal(const TSaleRecord& line);

// Rate: the percentage of `base` that the customer pays; 100 when the base is
// 0.005 or less.
double RateFromDiscount(double discount, double base);
// The discount amount that leaves `rate` percent of `base`.
double DiscountFromRate(double rate, double base);

// What the discount dialog shows: base S, discount D, rate R.
struct DiscountValues {
    double base = 0;
    double discount = 0;
    double rate = 100;
};

// Line modes: the list amount and manual discount of line `row` (1-based);
// whole-sale modes: the discount basis and manual discount total of the sale.
// A line mode on a row without a line gives zero base and discount.
DiscountValues OpeningDiscountValues(DiscountMode mode, int row, const TSaleRecords& lines);

// Each line's part of a whole-sale discount, in proportion to its list amount
// over `base`; all 0 when the base is 0.005 or less. Not rounded.
QVector<double> WholeSaleShares(const TSaleRecords& lines, double discount, double base);

// How a right that the cashier lacks is obtained. Both are asked once per
// line that needs the right, in line order.
struct DiscountAuthority {
    std::function<bool(const QString& right)> cashierHolds; // the cashier's own right
    std::function<bool(const QString& right)> authorize;    // a supervisor's consent
};

// The amount `line` stores with discount `discount`: list price x quantity
// - discount at two decimals, then the store's line rounding `xsfkz`.
double DiscountedLineAmount(const TSaleRecord& line, double discount, int xsfkz);

// Whether `line` may take `discount`, judged on the amount it will store
// (DiscountedLineAmount): below its cost total it needs
// RightBelowCost; otherwise below its minimum total it needs
// RightBelowLowestPrice, and is refused outright when that minimum is 0.005
// or less. False with the cashier's message when refused.
bool CheckLineDiscount(const TSaleRecord& line, double discount, int xsfkz,
                       const DiscountAuthority& authority, QString& message);

// Writes discount `discount` into the line: the line amount becomes
// DiscountedLineAmount, split into net and tax. Without line rounding the
// net part is list price x quantity - discount, unrounded, without tax,
// rounded to two decimals, and the tax the rest; with it, the net part is
// that of the stored amount. ManualDiscount keeps the discount
// unrounded; AutoDiscount, which the manual discount replaces, keeps only
// what the line rounding took off. Prices and quantity stay.
void ApplyLineDiscount(TSaleRecord& line, double discount, int xsfkz);

// Enter in the discount dialog: read the input, check every affected line
// against its limits and only then write the discount into the lines.
struct DiscountEntryResult {
    enum class Outcome {
        Applied,    // the lines hold the discount
        Refused,    // a line may not take its discount; message says which
        NotANumber, // the input is no number; message is the conversion error
    };
    Outcome outcome = Outcome::Refused;
    QString message;
    DiscountValues values; // base, discount and rate read from the input
};

// `base` is the S the dialog opened with. Rate modes read the input as the
// rate, amount modes as the discount amount. A line mode discounts line
// `row` (1-based); a whole-sale mode gives each line its share and checks all
// lines, in order, before the first one changes. Lines with list price 0 take
// no part in a whole-sale discount. `xsfkz` is the store's line rounding.
// Nothing is written unless Applied.
DiscountEntryResult ConfirmDiscount(TSaleRecords& lines, DiscountMode mode, int row, double base,
                                    const QString& input, const DiscountAuthority& authority, int xsfkz);

} // namespace qiantai
