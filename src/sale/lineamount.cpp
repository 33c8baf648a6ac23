#include "sale/lineamount.h"

#include "base/money.h"
#include "base/numbers.h"

namespace qiantai {

double RoundLineAmount(double amount, int xsfkz)
{
    if (xsfkz == 1)
        return RoundDecimals(1, amount);
    if (xsfkz == 3)
        return TruncDecimals(1, amount);
    return amount;
}

bool RoundsEachLine(int xsfkz)
{
    return xsfkz == 1 || xsfkz == 3;
}

void SetLineAmount(TSaleRecord& line, double amount)
{
    line.NetAmount = RoundMoney(amount / (1 + line.TaxRate / 100));
    line.TaxAmount = amount - line.NetAmount;
}

} // namespace qiantai
