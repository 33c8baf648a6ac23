// What logs and stored records may show of a card or certificate number.
#pragma once

#include <QString>

namespace qiantai {

// "****0001": the last four characters only (logs).
QString MaskCardNumber(const QString& number);

// Every run of 13 or more digits in `text` (a card number, wherever a
// terminal put it) with all but its first six and last four digits replaced
// by '*'; the length and everything else stay. Twelve digits are left: the
// terminals' reference numbers have twelve.
QString MaskCardNumbersIn(const QString& text);

} // namespace qiantai
