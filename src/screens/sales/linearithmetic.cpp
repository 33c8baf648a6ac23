#include "screens/sales/linearithmetic.h"

#include "host/money.h"
#include "host/numbers.h"
#include "sale/linesums.h"

namespace qiantai {

namespace {

constexpr int RoundLineToTenth = 1;
constexpr int TruncateLineToTenth = 3;

} // namespace

double ApplyLineRounding(double amount, int xsfkz)
{
    switch (xsfkz) {
    case RoundLineToTenth:
        return RoundDecimals(1, amount);
    case TruncateLineToTenth:
        return TruncDecimals(1, amount);
    default:
        return amount;
    }
}

double LineAmountOf(double quantity, double unitPrice, int xsfkz)
{
    return ApplyLineRounding(RoundMoney(quantity * unitPrice), xsfkz);
}

void SplitNetAndTax(TSaleRecord& line, double amount)
{
    line.NetAmount = RoundMoney(amount / (1 + line.TaxRate / 100));
    // Both sides have two decimals; rounding only drops binary noise.
    line.TaxAmount = RoundMoney(amount - line.NetAmount);
}

void ComputeLineAmounts(TSaleRecord& line, double quantity, double unitPrice, int xsfkz)
{
    const double amount = LineAmountOf(quantity, unitPrice, xsfkz);
    SplitNetAndTax(line, amount);
    line.AutoDiscount = RoundMoney(RoundMoney(quantity * line.ListPrice) - amount);
}

void ApplyTypedAmount(TSaleRecord& line, double quantity, double amount, int xsfkz)
{
    line.AutoDiscount = 0;
    line.Quantity = RoundMoney(quantity);
    const double typed = ApplyLineRounding(RoundMoney(amount), xsfkz);
    SplitNetAndTax(line, typed);
    if (line.Quantity > MoneyEpsilon && line.ListPrice > MoneyEpsilon) {
        line.UnitPrice = LineAmount(line) / line.Quantity;
        line.ManualDiscount = RoundMoney(ListAmount(line) - typed);
    }
}

} // namespace qiantai
