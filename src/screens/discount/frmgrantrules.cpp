#include "screens/discount/frmgrantrules.h"

#include "hostcalls/hostservice.h"
#include "screens/discount/frmzkszrules.h"

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

bool TryGrant(HostService& host, const QString& typedCode, const QString& typedPassword, const QString& right,
              QVariant& refusal)
{
    const QString code = typedCode.trimmed();
    if (!host.VerifyPassword(code, typedPassword.trimmed())) {
        refusal = host.lastError();
        return false;
    }
    if (host.CheckPermission(code, right))
        return true;
    // A failed call is not an answer about the right: show what went wrong.
    refusal = host.lastStatus() == HostCallStatus::Raised
                  ? host.lastError()
                  : QVariant(GrantMissingRightMessage(right, typedCode));
    return false;
}

} // namespace qiantai
