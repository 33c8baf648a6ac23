// The number and padding helpers of the screens.
#pragma once

#include <QString>

namespace qiantai {

// Blanks added on the left (side 0) or the right (any other side) until the
// text is `width` GBK bytes wide; a text already that wide is never cut.
QString PadText(const QString& text, int width, int side);

// `value` rounded half away from zero to `digits` decimals (the module's one
// rounding rule, on value x 10). Digits below 1 round to a whole number.
double RoundDecimals(int digits, double value);

// `value` cut to `digits` decimals after adding 1e-10, so that a computed
// value just below a step does not drop a step. Cuts towards minus infinity.
double TruncDecimals(int digits, double value);

} // namespace qiantai
