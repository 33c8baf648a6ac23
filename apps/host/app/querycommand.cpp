#include "querycommand.h"

#include "qiantai/dispids.h"

#include <QDateTime>
#include <QStringList>

namespace qiantai::host {

int RunQuery(StoreHost& host, const QString& sql, QTextStream& out, QTextStream& err)
{
    QVariantList args{sql, QVariant()};
    const bool isQuery = sql.trimmed().startsWith(QLatin1String("select"), Qt::CaseInsensitive) ||
                         sql.trimmed().startsWith(QLatin1String("values"), Qt::CaseInsensitive);
    if (!isQuery) {
        QVariantList exec{sql};
        if (!host.invoke(dispid::ExecuteSql, exec).toBool()) {
            err << exec[0].toString() << Qt::endl;
            return 1;
        }
        return 0;
    }
    if (!host.invoke(dispid::OpenQuery, args).toBool()) {
        err << args[1].toString() << Qt::endl;
        return 1;
    }
    const DataPacket p = packetFromVariant(args[1]);
    QStringList header;
    for (const DataColumn& c : p.columns())
        header.append(c.name);
    out << header.join(QLatin1Char('\t')) << Qt::endl;
    for (int r = 0; r < p.rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < p.columnCount(); ++c) {
            const QVariant v = p.value(r, c);
            cells.append(v.metaType().id() == QMetaType::QDateTime
                             ? v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                             : v.toString());
        }
        out << cells.join(QLatin1Char('\t')) << Qt::endl;
    }
    return 0;
}

} // namespace qiantai::host
