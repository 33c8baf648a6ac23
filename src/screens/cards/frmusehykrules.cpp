#include "screens/cards/frmusehykrules.h"

#include <algorithm>

namespace qiantai {

QString TrimCardNumber(const QString& swiped, int front, int back)
{
    const QString text = swiped.trimmed();
    front = std::max(front, 0);
    back = std::max(back, 0);
    if (text.size() > qsizetype(front) + back)
        return text.mid(front, text.size() - front - back);
    return text;
}

QVariantList MemberCardQueryRequest(const QString& cardNo, const QString& password, const QString& dybm)
{
    return {QStringLiteral("0"), cardNo, password, QStringLiteral("1"), QString(), dybm};
}

QString EmptySwipeText()
{
    return QStringLiteral("请刷会员卡!");
}

QString EmptySwipeCaption()
{
    return QStringLiteral("提示");
}

} // namespace qiantai
