#include "sale/tablenames.h"

namespace qiantai {

namespace {

bool isPlainName(const QString& text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool ok =
            (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_';
        if (!ok)
            return false;
    }
    return true;
}

} // namespace

bool IsYearMonth(const QString& text)
{
    if (text.size() != 6)
        return false;
    for (const QChar c : text)
        if (c.unicode() < '0' || c.unicode() > '9')
            return false;
    return true;
}

QString MonthlyTableName(const QString& yearMonth, const QString& suffix)
{
    if (!IsYearMonth(yearMonth) || !isPlainName(suffix))
        return {};
    return QStringLiteral("tb") + yearMonth + QLatin1Char('_') + suffix;
}

QString SpgjcbTableName(const QString& documentNumber)
{
    return MonthlyTableName(documentNumber.left(6), QStringLiteral("Spgjcb"));
}

} // namespace qiantai
