#include "devices/printertarget.h"

#include <QUrl>

namespace qiantai {

namespace {

const QString TcpScheme = QStringLiteral("tcp://");
const QString FileScheme = QStringLiteral("file:");

PrinterTarget tcpTarget(const QString& uri)
{
    PrinterTarget t;
    const QUrl url(uri, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() || !url.userInfo().isEmpty() || url.hasQuery() ||
        url.hasFragment() || (!url.path().isEmpty() && url.path() != QLatin1String("/")))
        return t;
    const int port = url.port(DefaultPrinterPort);
    if (port <= 0 || port > 65535)
        return t;
    t.kind = PrinterTarget::Kind::Tcp;
    t.host = url.host();
    t.port = quint16(port);
    return t;
}

PrinterTarget fileTarget(const QString& uri)
{
    PrinterTarget t;
    QString path = uri.mid(FileScheme.size());
    if (path.startsWith(QLatin1String("//"))) {
        path = path.mid(2);
        if (!path.startsWith(QLatin1Char('/')))
            return t; // a host part is not supported
    }
    if (path.isEmpty())
        return t;
    t.kind = PrinterTarget::Kind::File;
    t.path = path;
    return t;
}

} // namespace

PrinterTarget ParsePrinterTarget(const QString& uri)
{
    const QString u = uri.trimmed();
    if (u.startsWith(TcpScheme, Qt::CaseInsensitive))
        return tcpTarget(u);
    if (u.startsWith(FileScheme, Qt::CaseInsensitive))
        return fileTarget(u);
    return {};
}

} // namespace qiantai
