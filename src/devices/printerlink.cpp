#include "devices/printerlink.h"

#include "devices/posprinter.h"

#include <QFile>
#include <QTcpSocket>

#include <sys/stat.h>

namespace qiantai {

namespace {

class TcpLink : public PrinterLink {
public:
    explicit TcpLink(int writeMs) : writeMs_(writeMs) {}

    long Connect(const QString& host, quint16 port, int timeoutMs)
    {
        socket_.connectToHost(host, port, QIODevice::WriteOnly);
        if (socket_.waitForConnected(timeoutMs))
            return opos::Success;
        return socket_.error() == QAbstractSocket::SocketTimeoutError ? opos::ETimeout : opos::ENoHardware;
    }

    long Write(const QByteArray& bytes) override
    {
        if (socket_.state() != QAbstractSocket::ConnectedState)
            return opos::EOffline;
        if (socket_.write(bytes) != bytes.size())
            return opos::EFailure;
        while (socket_.bytesToWrite() > 0) {
            if (!socket_.waitForBytesWritten(writeMs_))
                return socket_.error() == QAbstractSocket::SocketTimeoutError ? opos::ETimeout
                                                                              : opos::EFailure;
        }
        return opos::Success;
    }

    ~TcpLink() override
    {
        socket_.disconnectFromHost();
        if (socket_.state() != QAbstractSocket::UnconnectedState)
            socket_.waitForDisconnected(writeMs_);
    }

private:
    QTcpSocket socket_;
    int writeMs_;
};

class FileLink : public PrinterLink {
public:
    explicit FileLink(const QString& path) : file_(path) {}

    // A plain file collects receipts one after another; a device (such as
    // /dev/usb/lp0) is written as it is.
    bool Open()
    {
        struct stat st {};
        const bool device =
            ::stat(QFile::encodeName(file_.fileName()).constData(), &st) == 0 && !S_ISREG(st.st_mode);
        const QIODevice::OpenMode mode = device ? QIODevice::WriteOnly | QIODevice::ExistingOnly
                                                : QIODevice::WriteOnly | QIODevice::Append;
        return file_.open(mode | QIODevice::Unbuffered);
    }

    long Write(const QByteArray& bytes) override
    {
        qint64 done = 0;
        while (done < bytes.size()) {
            const qint64 n = file_.write(bytes.constData() + done, bytes.size() - done);
            if (n <= 0)
                return opos::EFailure;
            done += n;
        }
        return file_.flush() ? opos::Success : opos::EFailure;
    }

private:
    QFile file_;
};

} // namespace

std::unique_ptr<PrinterLink> OpenPrinterLink(const PrinterTarget& target, const PrinterLinkTimeouts& timeouts,
                                             long* result)
{
    long code = opos::ENoService;
    std::unique_ptr<PrinterLink> link;
    if (target.kind == PrinterTarget::Kind::Tcp) {
        auto tcp = std::make_unique<TcpLink>(timeouts.writeMs);
        code = tcp->Connect(target.host, target.port, timeouts.connectMs);
        if (code == opos::Success)
            link = std::move(tcp);
    } else if (target.kind == PrinterTarget::Kind::File) {
        auto file = std::make_unique<FileLink>(target.path);
        code = file->Open() ? opos::Success : opos::ENoHardware;
        if (code == opos::Success)
            link = std::move(file);
    }
    if (result)
        *result = code;
    return link;
}

} // namespace qiantai
