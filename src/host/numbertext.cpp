#include "host/numbertext.h"

#include "host/money.h"

#include <cmath>

namespace qiantai {

QString FormatFixed(double value, int decimals)
{
    double shown = RoundTo(value, decimals);
    if (shown == 0)
        shown = 0; // drops the sign of -0
    return QString::number(shown, 'f', decimals);
}

bool TextToFloat(const QString& text, double& value, QString& error)
{
    bool ok = false;
    const double d = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(d)) {
        error = QStringLiteral("'%1' is not a valid floating point value").arg(text);
        return false;
    }
    value = d;
    return true;
}

} // namespace qiantai
