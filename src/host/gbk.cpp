#include "host/gbk.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace qiantai {

QByteArray ToGbk(const QString& text)
{
    QStringEncoder encoder("GBK");
    if (!encoder.isValid())
        return text.toLocal8Bit();
    return encoder.encode(text);
}

QString FromGbk(const QByteArray& bytes)
{
    QStringDecoder decoder("GBK");
    if (!decoder.isValid())
        return QString::fromLocal8Bit(bytes);
    return decoder.decode(bytes);
}

int GbkWidth(const QString& text)
{
    return int(ToGbk(text).size());
}

} // namespace qiantai
