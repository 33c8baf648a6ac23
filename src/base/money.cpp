#include "base/money.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace qiantai {

double RoundTo(double value, int decimals)
{
    if (!std::isfinite(value) || decimals < 0 || decimals > 12)
        return value;
    // Work on the 15-significant-digit decimal text so that values such as
    // 1.005 (stored as 1.00499999...) round the way they read.
    char text[64];
    std::snprintf(text, sizeof text, "%.15g", value);
    double shown = std::strtod(text, nullptr);
    const bool negative = shown < 0;
    if (negative)
        shown = -shown;
    char* exp = std::strchr(text, 'e');
    if (exp != nullptr) {
        // Very large or very small: scientific notation, round the plain way.
        const double scale = std::pow(10.0, decimals);
        const double r = std::floor(shown * scale + 0.5) / scale;
        return negative ? -r : r;
    }
    // Digits after the point, as written.
    const char* dot = std::strchr(text, '.');
    if (dot == nullptr || int(std::strlen(dot + 1)) <= decimals)
        return negative ? -shown : shown;
    // Integer of the scaled value from the digits themselves.
    const char* p = negative ? text + 1 : text;
    long double whole = 0;
    for (; *p && *p != '.'; ++p)
        whole = whole * 10 + (*p - '0');
    const char* frac = dot + 1;
    for (int i = 0; i < decimals; ++i)
        whole = whole * 10 + (frac[i] - '0');
    if (frac[decimals] >= '5')
        whole += 1;
    const double r = double(whole / std::pow(10.0L, decimals));
    return negative ? -r : r;
}

} // namespace qiantai
