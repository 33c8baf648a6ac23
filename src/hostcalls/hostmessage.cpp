#include "hostcalls/hostmessage.h"

#include <QStringList>
#include <QVariantList>

namespace qiantai {

namespace {

bool ElementText(const QVariant& element, QString& text)
{
    if (!element.isValid() || element.isNull()) {
        text.clear();
        return true;
    }
    const int type = element.metaType().id();
    if (type == QMetaType::QVariantList || type == QMetaType::QStringList || type == QMetaType::QVariantMap ||
        type == QMetaType::QVariantHash || !element.canConvert<QString>())
        return false;
    text = element.toString();
    return true;
}

} // namespace

QString UnknownErrorText()
{
    return QString::fromUtf8("未知错误！");
}

QString HostMessageText(const QVariant& message)
{
    const int type = message.metaType().id();
    if (type == QMetaType::QString)
        return message.toString();
    if (type != QMetaType::QVariantList && type != QMetaType::QStringList)
        return UnknownErrorText();
    QString text;
    for (const QVariant& element : message.toList()) {
        QString piece;
        if (!ElementText(element, piece))
            return UnknownErrorText();
        text += piece + QLatin1String("\r\n");
    }
    text.chop(2);
    return text;
}

} // namespace qiantai
