#include "base/gbk.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace qiantai {

namespace {

// Characters printed as their GBK look-alike.
struct LookAlike {
    char32_t from;
    char16_t to;
};
constexpr LookAlike LookAlikes[] = {
    {0x00A5, 0xFFE5}, // ¥ -> ￥ (A3A4)
    {0x2022, 0x00B7}, // • -> · (A1A4)
};

// One GBK double-byte character: lead 0x81-0xFE, trail 0x40-0xFE but 0x7F.
bool IsGbkPair(const QByteArray& b)
{
    if (b.size() != 2)
        return false;
    const auto lead = quint8(b[0]);
    const auto trail = quint8(b[1]);
    return lead >= 0x81 && lead <= 0xFE && trail >= 0x40 && trail <= 0xFE && trail != 0x7F;
}

} // namespace

QString GbkPrintable(const QString& text)
{
    QStringEncoder encoder("GBK");
    if (!encoder.isValid())
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text.at(i);
        const bool pair = c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        const qsizetype n = pair ? 2 : 1;
        const char32_t code = pair ? QChar::surrogateToUcs4(c, text.at(i + 1)) : char32_t(c.unicode());
        const QStringView one = QStringView(text).mid(i, n);
        i += n;
        if (code < 0x80) {
            out += c;
            continue;
        }
        bool mapped = false;
        for (const LookAlike& m : LookAlikes) {
            if (m.from == code) {
                out += QChar(m.to);
                mapped = true;
            }
        }
        if (mapped)
            continue;
        const QByteArray bytes = encoder.encode(one);
        if (IsGbkPair(bytes))
            out += one;
        else
            out += QLatin1Char('?');
    }
    return out;
}

QByteArray ToGbk(const QString& text)
{
    QStringEncoder encoder("GBK");
    if (!encoder.isValid())
        return text.toLocal8Bit();
    return encoder.encode(GbkPrintable(text));
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
