// Numbers shown in and read from cells and fields.
#pragma once

#include <QString>

namespace qiantai {

// `value` with exactly `decimals` decimals, rounded half away from zero by
// RoundTo: FormatFixed(2.675, 2) gives "2.68", FormatFixed(3, 0) gives "3".
// A value that rounds to zero never shows a minus sign.
QString FormatFixed(double value, int decimals);

// Reads a floating-point number from `text` (blanks around it allowed). On
// failure `error` says "'<text>' is not a valid floating point value" and
// `value` is left alone.
bool TextToFloat(const QString& text, double& value, QString& error);

} // namespace qiantai
