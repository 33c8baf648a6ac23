// The characters the discount dialog's input box takes.
#pragma once

#include <QChar>

namespace qiantai {

// The digits 0 to 9, "." , "-" and Backspace.
bool IsDiscountInputChar(QChar c);

} // namespace qiantai
