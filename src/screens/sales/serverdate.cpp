#include "screens/sales/serverdate.h"

#include <QDate>
#include <QStringList>

namespace qiantai {

QDateTime ServerDateTime(const QVariant& value)
{
    switch (value.metaType().id()) {
    case QMetaType::QDateTime:
        return value.toDateTime();
    case QMetaType::QDate:
        return value.toDate().startOfDay();
    case QMetaType::QString:
        break;
    default:
        return {};
    }
    const QString text = value.toString().trimmed();
    QDateTime dt = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (dt.isValid())
        return dt;
    static const QStringList formats{
        QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"), QStringLiteral("yyyy-MM-dd HH:mm:ss"),
        QStringLiteral("yyyy-MM-dd HH:mm"),        QStringLiteral("yyyyMMddHHmmss"),
        QStringLiteral("yyyy/MM/dd HH:mm:ss"),     QStringLiteral("yyyy-MM-dd"),
    };
    for (const QString& f : formats) {
        dt = QDateTime::fromString(text, f);
        if (dt.isValid())
            return dt;
    }
    return {};
}

} // namespace qiantai
