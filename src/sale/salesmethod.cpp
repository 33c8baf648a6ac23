#include "sale/salesmethod.h"

namespace qiantai {

QString SalesMethodName(int xsfs)
{
    switch (xsfs) {
    case 0:
        return QStringLiteral("门店自提");
    case 1:
        return QStringLiteral("门店送货");
    case 2:
        return QStringLiteral("带货安装");
    case 3:
        return QStringLiteral("统一配送");
    default:
        return QString();
    }
}

} // namespace qiantai
