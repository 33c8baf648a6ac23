#include "screens/lookups/frminforules.h"

#include <algorithm>

namespace qiantai {

QString InfoDefaultHeading()
{
    return QString::fromUtf8("信息窗口");
}

QString InfoEnterHint()
{
    return QString::fromUtf8("【Enter】确定");
}

QString InfoEnterEscHint()
{
    return QString::fromUtf8("【Enter】确定  【Esc】取消");
}

QString InfoKeyHint(InfoKind kind, const QString& callerHint)
{
    if (!callerHint.isEmpty())
        return callerHint;
    return kind == InfoKind::Statement ? InfoEnterHint() : InfoEnterEscHint();
}

QString InfoHeading(const QString& callerCaption)
{
    return callerCaption.isEmpty() ? InfoDefaultHeading() : callerCaption;
}

QString InfoDisplayText(const QString& message)
{
    QString text = message;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QSize InfoMessagePanelSize(QSize messageSize, int lineHeight)
{
    const int allowance = std::max(InfoDesignedPanel.height() - lineHeight, 0);
    return {std::max(InfoDesignedPanel.width(), messageSize.width() + 16),
            std::max(InfoDesignedPanel.height(), messageSize.height() + allowance)};
}

} // namespace qiantai
