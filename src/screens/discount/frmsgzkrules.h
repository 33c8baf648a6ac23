// The four manual discount modes and the checks the mode picker makes before
// the discount dialog opens.
#pragma once

#include "sale/saleitems.h"

#include <QString>

namespace qiantai {

enum class DiscountMode {
    LineRate = 0,   // current line, the cashier types a rate
    WholeRate = 1,  // whole sale, rate
    LineAmount = 2, // current line, the cashier types an amount
    WholeAmount = 3 // whole sale, amount
};

constexpr int DiscountModeCount = 4;

inline bool IsLineMode(DiscountMode mode)
{
    return mode == DiscountMode::LineRate || mode == DiscountMode::LineAmount;
}
inline bool IsRateMode(DiscountMode mode)
{
    return mode == DiscountMode::LineRate || mode == DiscountMode::WholeRate;
}

// "[0] 单行记录按扣率打折" ...: the picker's option text.
QString DiscountModeOptionText(DiscountMode mode);
// "选择[0]项" ...: the label naming the picker's selection.
QString DiscountModeSelectionText(DiscountMode mode);
// "单行手工折扣率设置" ...: the discount dialog's title.
QString DiscountModeTitle(DiscountMode mode);

// Down and Up in the picker: 3 wraps to 0 and 0 to 3.
DiscountMode NextDiscountMode(DiscountMode mode);
DiscountMode PreviousDiscountMode(DiscountMode mode);

// Whether the mode may be used on `lines` with the grid cursor on `row`
// (1 = first line; a row past the last line is the empty entry row). Empty
// when it may; otherwise the message for the cashier.
QString CheckDiscountMode(DiscountMode mode, int row, const TSaleRecords& lines);

} // namespace qiantai
