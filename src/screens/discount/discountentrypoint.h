// F3 on the sales screen: the manual discount of the current line or of the
// whole sale, and the box both discount dialogs show a refusal in.
#pragma once

#include <QString>

class QWidget;

namespace qiantai {

// Shows the mode picker and, when a mode is chosen, the discount dialog, on
// the session's sale lines with the grid cursor on `currentRow` (1 = first
// line; the entry row below the last line may be given). The dialogs belong
// to `owner`, or to the session's owner window when it is null. True when
// the lines hold a new discount: the caller then shows every line again. The
// caller refreshes its labels in every case.
bool OpenDiscountEntry(QWidget* owner, int currentRow);

// The information box for a refused discount: `message` with the caption
// "错误提示"; Enter closes it.
void ShowDiscountMessage(const QString& message, QWidget* parent);

} // namespace qiantai
