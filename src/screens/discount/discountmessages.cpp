#include "screens/discount/discountmessages.h"

#include "screens/lookups/showhostmessage.h"

#include <QVariant>

namespace qiantai {

void ShowDiscountMessage(const QString& message, QWidget* parent)
{
    ShowHostMessage(QVariant(message), QStringLiteral("错误提示"), QString(), InfoKind::Statement, parent);
}

} // namespace qiantai
