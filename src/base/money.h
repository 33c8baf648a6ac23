// The one money-rounding rule of the module.
#pragma once

namespace qiantai {

// Tolerance for comparing amounts.
constexpr double MoneyEpsilon = 0.005;

// Rounds half away from zero on the value's decimal form (15 significant
// digits), so 1.005 gives 1.01 and 2.675 gives 2.68.
double RoundTo(double value, int decimals);

// RoundTo(value, 2): "rounded to two decimals" everywhere in the module.
inline double RoundMoney(double value)
{
    return RoundTo(value, 2);
}

// Equal within the money tolerance.
inline bool MoneyEquals(double a, double b)
{
    return (a - b < MoneyEpsilon) && (b - a < MoneyEpsilon);
}

// More than `b` by over the money tolerance.
inline bool MoneyExceeds(double a, double b)
{
    return a - b > MoneyEpsilon;
}

} // namespace qiantai
