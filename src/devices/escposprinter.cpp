#include "devices/escposprinter.h"

#include "base/gbk.h"

#include <QStringEncoder>

namespace qiantai {

namespace {

const QByteArray Initialise("\x1b\x40", 2);          // ESC @
const QByteArray ChineseMode("\x1c\x26", 2);         // FS &
const QByteArray FullCutBytes("\x1d\x56\x00", 3);    // GS V 0
const QByteArray PartialCutBytes("\x1d\x56\x01", 3); // GS V 1

bool isGbk(const QString& encoding)
{
    return encoding.compare(QLatin1String("GBK"), Qt::CaseInsensitive) == 0;
}

bool isChineseDoubleByte(const QString& encoding)
{
    return isGbk(encoding) || encoding.compare(QLatin1String("GB18030"), Qt::CaseInsensitive) == 0 ||
           encoding.compare(QLatin1String("GB2312"), Qt::CaseInsensitive) == 0;
}

} // namespace

EscPosPrinter::EscPosPrinter(PrinterResolver resolver, EscPosSettings settings)
    : resolver_(std::move(resolver)), settings_(std::move(settings))
{
}

EscPosPrinter::~EscPosPrinter()
{
    Close();
}

long EscPosPrinter::Open(const QString& deviceName)
{
    if (link_)
        return opos::EIllegal;
    const QString uri = resolver_ ? resolver_(deviceName) : QString();
    if (uri.trimmed().isEmpty())
        return opos::ENoExist;
    if (!isGbk(settings_.encoding) && !QStringEncoder(settings_.encoding.toLatin1().constData()).isValid())
        return opos::ENoService;
    long code = opos::EFailure;
    link_ = OpenPrinterLink(ParsePrinterTarget(uri), settings_.timeouts, &code);
    return link_ ? opos::Success : code;
}

long EscPosPrinter::Claim(int timeoutMs)
{
    if (!link_)
        return opos::EClosed;
    if (timeoutMs < opos::Forever)
        return opos::EIllegal;
    claimed_ = true;
    return opos::Success;
}

long EscPosPrinter::SetDeviceEnabled(bool enabled)
{
    if (!link_)
        return opos::EClosed;
    if (!claimed_)
        return opos::ENotClaimed;
    if (enabled && !enabled_)
        initPending_ = true;
    enabled_ = enabled;
    return opos::Success;
}

long EscPosPrinter::PrintNormal(int station, const QString& text)
{
    if (const long code = ready())
        return code;
    if (station != opos::StationReceipt)
        return opos::EIllegal;
    return send(encode(text));
}

long EscPosPrinter::CutPaper(int percentage)
{
    if (const long code = ready())
        return code;
    if (percentage < 1 || percentage > opos::FullCut)
        return opos::EIllegal;
    return send(percentage == opos::FullCut ? FullCutBytes : PartialCutBytes);
}

long EscPosPrinter::CheckStatus()
{
    extended_ = 0;
    if (const long code = ready())
        return code;
    if (const long code = send({}))
        return code;
    return link_->Status(&extended_);
}

long EscPosPrinter::Release()
{
    if (!link_)
        return opos::EClosed;
    if (!claimed_)
        return opos::EIllegal;
    enabled_ = false;
    claimed_ = false;
    return opos::Success;
}

long EscPosPrinter::Close()
{
    if (!link_)
        return opos::EClosed;
    enabled_ = false;
    claimed_ = false;
    link_.reset();
    return opos::Success;
}

long EscPosPrinter::ready() const
{
    if (!link_)
        return opos::EClosed;
    if (!claimed_)
        return opos::ENotClaimed;
    return enabled_ ? opos::Success : opos::EDisabled;
}

long EscPosPrinter::send(const QByteArray& bytes)
{
    if (const long code = link_->Prepare())
        return code;
    if (link_->Connections() != initConnection_)
        initPending_ = true;
    if (initPending_) {
        QByteArray init = Initialise;
        if (isChineseDoubleByte(settings_.encoding))
            init += ChineseMode;
        if (const long code = link_->Write(init))
            return code;
        initPending_ = false;
        initConnection_ = link_->Connections();
    }
    return bytes.isEmpty() ? opos::Success : link_->Write(bytes);
}

QByteArray EscPosPrinter::encode(const QString& text) const
{
    if (isGbk(settings_.encoding))
        return ToGbk(text);
    QStringEncoder encoder(settings_.encoding.toLatin1().constData());
    return encoder.encode(text);
}

} // namespace qiantai
