#include "base/numbers.h"

#include "base/gbk.h"
#include "base/money.h"

#include <cmath>

namespace qiantai {

QString PadText(const QString& text, int width, int side)
{
    const int missing = width - GbkWidth(text);
    if (missing <= 0)
        return text;
    const QString blanks(missing, QLatin1Char(' '));
    return side == 0 ? blanks + text : text + blanks;
}

double RoundDecimals(int digits, double value)
{
    if (digits < 1)
        return RoundTo(value, 0);
    return RoundTo(value * 10, digits - 1) / 10;
}

double TruncDecimals(int digits, double value)
{
    double v = value + 1e-10;
    for (int i = 0; i < digits; ++i)
        v *= 10;
    v = std::floor(v);
    for (int i = 0; i < digits; ++i)
        v /= 10;
    return v;
}

} // namespace qiantai
