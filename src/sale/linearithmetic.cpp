#include "sale/linearithmetic.h"

#include "base/money.h"
#include "sale/lineamount.h"
#include "sale/linesums.h"

namespace qiantai {

double LineAmountOf(double quantity, double unitPrice, int xsfkz)
{
    return RoundLineAmount(RoundMoney(quantity * unitPrice), xsfkz);
}

void ComputeLineAmounts(TSaleRecord& line, double quantity, double unitPrice, int xsfkz)
{
    const double amount = LineAmountOf(quantity, unitPrice, xsfkz);
    SetLineAmount(line, amount);
    line.AutoDiscount = RoundMoney(RoundMoney(quantity * line.ListPrice) - amount);
}

void ApplyTypedAmount(TSaleRecord& line, double quantity, double amount, int xsfkz)
{
    line.AutoDiscount = 0;
    line.Quantity = RoundMoney(quantity);
    const double typed = RoundLineAmount(RoundMoney(amount), xsfkz);
    SetLineAmount(line, typed);
    if (line.Quantity > MoneyEpsilon && line.ListPrice > MoneyEpsilon) {
        line.UnitPrice = LineAmount(line) / line.Quantity;
        line.ManualDiscount = RoundMoney(ListAmount(line) - typed);
    }
}

} // namespace qiantai
