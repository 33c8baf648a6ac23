// Text of a message that came back from the host (or a fixed message), as the
// information box shows it.
#pragma once

#include <QString>
#include <QVariant>

namespace qiantai {

// "未知错误！": shown for a message that is neither text nor an array of texts.
QString UnknownErrorText();

// A text is used as it is; an array gives each element's text followed by
// CR LF, with the last two characters removed (so no trailing line break; an
// empty array gives an empty text); anything else, or an element that cannot
// be turned into text, gives UnknownErrorText().
QString HostMessageText(const QVariant& message);

} // namespace qiantai
