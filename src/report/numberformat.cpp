#include "report/numberformat.h"

#include "base/money.h"

#include <QRegularExpression>

#include <cmath>

namespace qiantai {

namespace {

const QRegularExpression& formatPattern()
{
    static const QRegularExpression re(QStringLiteral("^(#,##)?0(?:\\.(0{1,10}))?$"));
    return re;
}

QString grouped(const QString& digits)
{
    QString out;
    const int n = int(digits.size());
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += QLatin1Char(',');
        out += digits[i];
    }
    return out;
}

} // namespace

bool IsNumberFormat(const QString& pattern)
{
    return formatPattern().match(pattern).hasMatch();
}

QString FormatNumber(double value, const QString& pattern)
{
    if (!std::isfinite(value))
        return QString::number(value);
    const QRegularExpressionMatch m = formatPattern().match(pattern);
    if (!m.hasMatch())
        return QString::number(value, 'g', 15);
    const int decimals = int(m.capturedLength(2));
    double r = RoundTo(value, decimals);
    if (r == 0)
        r = 0; // no "-0.00"
    QString text = QString::number(std::fabs(r), 'f', decimals);
    if (m.capturedLength(1) > 0) {
        const qsizetype dot = text.indexOf(QLatin1Char('.'));
        const QString whole = dot < 0 ? text : text.left(dot);
        text = grouped(whole) + (dot < 0 ? QString() : text.mid(dot));
    }
    return r < 0 ? QLatin1Char('-') + text : text;
}

} // namespace qiantai
