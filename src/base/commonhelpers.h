// Small text helpers shared by several screens.
#pragma once

#include <QString>
#include <QStringList>

namespace qiantai {

// `ifTrue` when `condition` holds, else `ifFalse`.
QString ChooseText(bool condition, const QString& ifTrue, const QString& ifFalse);

// Decimal text of `value`, filled on the left with "0" to `width`. A longer
// text keeps only its rightmost `width` characters when `cut` is set and is
// returned whole otherwise.
QString PadNumber(int width, bool cut, qint64 value);

// Splits `text` at every `separator`, each piece trimmed of blanks, into
// `pieces` (cleared first; an empty text gives one empty piece, an empty
// separator one piece). True when no piece is empty.
bool SplitText(const QString& separator, const QString& text, QStringList& pieces);

} // namespace qiantai
