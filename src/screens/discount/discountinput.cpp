#include "screens/discount/discountinput.h"

#include <QLocale>
#include <QRegularExpression>

#include <cmath>

namespace qiantai {

bool IsDiscountInputChar(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || u == u'.' || u == u'-' || u == u'\b';
}

bool ParseDiscountInput(const QString& text, double& value, QString& error)
{
    static const QRegularExpression number(QStringLiteral("^-?([0-9]+\\.?[0-9]*|\\.[0-9]+)$"));
    const QString trimmed = text.trimmed();
    bool ok = number.match(trimmed).hasMatch();
    double parsed = 0;
    if (ok)
        parsed = QLocale::c().toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(parsed)) {
        error = QStringLiteral("'%1' is not a valid floating point value").arg(trimmed);
        return false;
    }
    value = parsed;
    return true;
}

} // namespace qiantai
