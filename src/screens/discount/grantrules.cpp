#include "screens/discount/grantrules.h"

#include "screens/discount/discountrules.h"

namespace qiantai {

QString GrantHeading(const QString& right)
{
    return right == RightBelowCost ? QStringLiteral("低于进价授权") : QStringLiteral("低于最低售价授权");
}

QString GrantMissingRightMessage(const QString& right, const QString& typedCode)
{
    const QString missing = right == RightBelowCost ? QStringLiteral(" 没有低于最后进价的权限")
                                                    : QStringLiteral(" 没有低于最低售价的权限");
    return QStringLiteral("职员 ") + typedCode + missing;
}

QString GrantErrorCaption()
{
    return QStringLiteral("授权时出错");
}

} // namespace qiantai
