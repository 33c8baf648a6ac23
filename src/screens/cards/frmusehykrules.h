// Rules of the member card identification that need no window.
#pragma once

#include <QString>
#include <QVariantList>

namespace qiantai {

// The card number in swiped text: trimmed, then `front` characters dropped at
// the start and `back` at the end when the text is longer than both
// together; otherwise the whole trimmed text.
QString TrimCardNumber(const QString& swiped, int front, int back);

// The member card query: "0", card number, password as typed, "1", "", the
// store department.
QVariantList MemberCardQueryRequest(const QString& cardNo, const QString& password, const QString& dybm);

QString EmptySwipeText();    // "请刷会员卡!"
QString EmptySwipeCaption(); // "提示"

} // namespace qiantai
