// Numbers shown in and read from cells and fields.
#pragma once

#include <QChar>
#include <QString>

namespace qiantai {

// `value` with exactly `decimals` decimals, rounded half away from zero by
// RoundTo: FormatFixed(2.675, 2) gives "2.68", FormatFixed(3, 0) gives "3".
// A value that rounds to zero never shows a minus sign.
QString FormatFixed(double value, int decimals);

// FormatFixed(amount, 2): every money text of the screens and receipts.
inline QString MoneyText(double amount)
{
    return FormatFixed(amount, 2);
}

// The characters a number field takes: the digits 0 to 9 and ".".
bool IsNumberChar(QChar c);
// The digits 0 to 9 only: code boxes and certificate numbers.
bool IsDigitChar(QChar c);

// The one failure text of a number a person typed: “<text>”不是有效的数字
// (a text longer than 32 characters is cut and ends in "…").
QString NotANumberText(const QString& text);

// Reads a number a person typed, whatever the input path: blanks around it
// allowed, then digits with at most one "." and at least one digit; no sign,
// exponent, separator or full-width digit, and the value must be finite. On
// failure `error` is NotANumberText(text) and `value` is left alone.
bool ReadTypedNumber(const QString& text, double& value, QString& error);

// Reads a stored number (parameters, host values): like ReadTypedNumber but
// a leading sign is allowed. The same failure text.
bool TextToFloat(const QString& text, double& value, QString& error);

} // namespace qiantai
