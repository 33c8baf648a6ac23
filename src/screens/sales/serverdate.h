// Date-time values as the host returns them in a packet.
#pragma once

#include <QDateTime>
#include <QVariant>

namespace qiantai {

// The date-time held by `value`: a date-time, a date (midnight) or a text in
// ISO form ("2004-06-15 10:20:30", with "T", with milliseconds) or
// "yyyyMMddHHmmss". Invalid when it is none of these.
QDateTime ServerDateTime(const QVariant& value);

} // namespace qiantai
