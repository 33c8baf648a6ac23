// The host's date and the number and padding helpers of the screens.
#pragma once

#include <QString>

namespace qiantai {

class HostService;

// The host's current date text as the host gives it; the local date as
// "yyyyMMdd" when the host refuses or fails. Shows no message.
QString HostDateText(HostService& host);

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
