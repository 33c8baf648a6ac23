#include "base/cardmask.h"

namespace qiantai {

QString MaskCardNumber(const QString& number)
{
    return QStringLiteral("****") + number.right(4);
}

QString MaskCardNumbersIn(const QString& text)
{
    QString out = text;
    qsizetype i = 0;
    while (i < out.size()) {
        if (!out.at(i).isDigit() || out.at(i).unicode() > 0x7F) {
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < out.size() && out.at(end).isDigit() && out.at(end).unicode() <= 0x7F)
            ++end;
        const qsizetype length = end - i;
        if (length >= 13) {
            for (qsizetype k = i + 6; k < end - 4; ++k)
                out[k] = QLatin1Char('*');
        }
        i = end;
    }
    return out;
}

} // namespace qiantai
