#include "devices/printerstatus.h"

#include "devices/posprinter.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTcpSocket>

namespace qiantai {

namespace {

PrinterStatus AskNetworkPrinter(const PrinterTarget& target, int timeoutMs)
{
    PrinterStatus s;
    const QString where = QStringLiteral("%1:%2").arg(target.host).arg(target.port);
    QTcpSocket socket;
    socket.connectToHost(target.host, target.port);
    if (!socket.waitForConnected(timeoutMs)) {
        s.text = QStringLiteral("no connection to %1 (%2)").arg(where, socket.errorString());
        return s;
    }
    s.reachable = true;
    socket.write(QByteArray("\x10\x04\x01\x10\x04\x04", 6));
    socket.waitForBytesWritten(timeoutMs);
    QByteArray answer;
    while (answer.size() < 2 && socket.waitForReadyRead(timeoutMs))
        answer += socket.readAll();
    socket.abort();
    if (answer.size() < 2) {
        s.text = QStringLiteral("%1 accepts connections but does not answer the status request").arg(where);
        return s;
    }
    s.answered = true;
    const QString fault = DescribePrinterStatusBytes(static_cast<unsigned char>(answer[0]),
                                                     static_cast<unsigned char>(answer[1]));
    s.ready = fault.isEmpty();
    s.text =
        s.ready ? QStringLiteral("%1 answers: ready").arg(where) : QStringLiteral("%1: %2").arg(where, fault);
    return s;
}

PrinterStatus AskFile(const PrinterTarget& target)
{
    PrinterStatus s;
    const QFileInfo info(target.path);
    if (info.exists()) {
        QFile file(target.path);
        s.reachable = file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::ExistingOnly);
        s.text = s.reachable
                     ? QStringLiteral("%1 is writable").arg(target.path)
                     : QStringLiteral("%1 cannot be written (%2)").arg(target.path, file.errorString());
    } else {
        const QFileInfo dir(info.absolutePath());
        s.reachable = dir.isDir() && dir.isWritable();
        s.text = s.reachable ? QStringLiteral("%1 will be created").arg(target.path)
                             : QStringLiteral("%1 cannot be created: folder %2 is missing or not writable")
                                   .arg(target.path, info.absolutePath());
    }
    s.ready = s.reachable;
    return s;
}

} // namespace

QString DescribePrinterStatusBytes(unsigned char printer, unsigned char paper)
{
    QStringList faults;
    if (printer & 0x08)
        faults.append(QStringLiteral("offline"));
    if (printer & 0x20)
        faults.append(QStringLiteral("waiting for the feed button"));
    if (paper & 0x60)
        faults.append(QStringLiteral("out of paper"));
    return faults.join(QStringLiteral(", "));
}

long PrinterStatusCode(unsigned char printer, unsigned char offline, unsigned char paper, long* extended)
{
    long code = opos::Success;
    long ext = 0;
    if (offline & 0x04) {
        code = opos::EExtended;
        ext = opos::EptrCoverOpen;
    } else if ((paper & 0x60) || (offline & 0x20)) {
        code = opos::EExtended;
        ext = opos::EptrRecEmpty;
    } else if (!DescribePrinterStatusBytes(printer, paper).isEmpty() || (offline & 0x40)) {
        code = opos::EOffline;
    }
    if (extended)
        *extended = ext;
    return code;
}

PrinterStatus AskPrinterStatus(const PrinterTarget& target, int timeoutMs)
{
    switch (target.kind) {
    case PrinterTarget::Kind::Tcp:
        return AskNetworkPrinter(target, timeoutMs);
    case PrinterTarget::Kind::File:
        return AskFile(target);
    case PrinterTarget::Kind::Invalid:
        break;
    }
    PrinterStatus s;
    s.text = QStringLiteral("not a printer address");
    return s;
}

} // namespace qiantai
