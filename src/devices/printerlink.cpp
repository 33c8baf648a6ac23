#include "devices/printerlink.h"

#include "devices/posprinter.h"
#include "devices/printerstatus.h"

#include <QFile>
#include <QTcpSocket>

#include <sys/stat.h>

namespace qiantai {

namespace {

// Holds one connection from Open to Close. A connection the printer has
// dropped meanwhile (switched off and on, idle time-out) is made again before
// the next write, so that bytes never go into a dead socket.
class TcpLink : public PrinterLink {
public:
    TcpLink(QString host, quint16 port, const PrinterLinkTimeouts& timeouts)
        : host_(std::move(host)), port_(port), timeouts_(timeouts)
    {
    }

    long Connect()
    {
        socket_.abort();
        socket_.connectToHost(host_, port_);
        if (socket_.waitForConnected(timeouts_.connectMs)) {
            ++connections_;
            return opos::Success;
        }
        return socket_.error() == QAbstractSocket::SocketTimeoutError ? opos::ETimeout : opos::ENoHardware;
    }

    long Prepare() override
    {
        // Takes in what the printer sent (status bytes, or the end of the
        // connection) so that the state below is current.
        socket_.waitForReadyRead(0);
        socket_.readAll();
        if (socket_.state() != QAbstractSocket::ConnectedState && Connect() != opos::Success)
            return opos::EOffline;
        return opos::Success;
    }

    int Connections() const override { return connections_; }

    long Status(long* extended) override
    {
        *extended = 0;
        if (const long code = Prepare())
            return code;
        if (silentConnection_ == connections_)
            return opos::Success;
        if (const long code = Write(QByteArray("\x10\x04\x01\x10\x04\x02\x10\x04\x04", 9)))
            return code;
        QByteArray answer;
        while (answer.size() < 3 && socket_.waitForReadyRead(timeouts_.statusMs))
            answer += socket_.readAll();
        if (answer.size() < 3) {
            silentConnection_ = connections_;
            return opos::Success;
        }
        return PrinterStatusCode(static_cast<unsigned char>(answer[0]), static_cast<unsigned char>(answer[1]),
                                 static_cast<unsigned char>(answer[2]), extended);
    }

    long Write(const QByteArray& bytes) override
    {
        if (const long code = Prepare())
            return code;
        if (socket_.write(bytes) != bytes.size())
            return opos::EFailure;
        while (socket_.bytesToWrite() > 0) {
            if (!socket_.waitForBytesWritten(timeouts_.writeMs))
                return socket_.error() == QAbstractSocket::SocketTimeoutError ? opos::ETimeout
                                                                              : opos::EFailure;
        }
        return opos::Success;
    }

    ~TcpLink() override
    {
        socket_.disconnectFromHost();
        if (socket_.state() != QAbstractSocket::UnconnectedState)
            socket_.waitForDisconnected(timeouts_.writeMs);
    }

private:
    QString host_;
    quint16 port_;
    PrinterLinkTimeouts timeouts_;
    QTcpSocket socket_;
    int connections_ = 0;
    int silentConnection_ = 0; // the connection that did not answer status
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
        auto tcp = std::make_unique<TcpLink>(target.host, target.port, timeouts);
        code = tcp->Connect();
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
