// The discount dialog's input box: which characters it takes and how its
// text is read as a number.
#pragma once

#include <QChar>
#include <QString>

namespace qiantai {

// The digits 0 to 9, "." , "-" and Backspace.
bool IsDiscountInputChar(QChar c);

// Reads the trimmed text as a number: an optional minus sign, digits and at
// most one decimal point, at least one digit. False with the conversion
// error's text otherwise (empty text, a lone sign, two points, ...).
bool ParseDiscountInput(const QString& text, double& value, QString& error);

} // namespace qiantai
