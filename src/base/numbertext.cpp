#include "base/numbertext.h"

#include "base/money.h"

#include <cmath>

namespace qiantai {

namespace {

constexpr int ShownTextLength = 32;

// Digits with at most one "." and at least one digit, after an optional sign
// when `signAllowed`; the value finite.
bool ReadNumber(const QString& text, bool signAllowed, double& value)
{
    const QString t = text.trimmed();
    int i = 0;
    if (signAllowed && !t.isEmpty() && (t.at(0) == QLatin1Char('-') || t.at(0) == QLatin1Char('+')))
        ++i;
    int digits = 0;
    int points = 0;
    for (; i < t.size(); ++i) {
        if (IsDigitChar(t.at(i)))
            ++digits;
        else if (t.at(i) == QLatin1Char('.'))
            ++points;
        else
            return false;
    }
    if (digits == 0 || points > 1)
        return false;
    bool ok = false;
    const double d = t.toDouble(&ok);
    if (!ok || !std::isfinite(d))
        return false;
    value = d;
    return true;
}

} // namespace

QString FormatFixed(double value, int decimals)
{
    double shown = RoundTo(value, decimals);
    if (shown == 0)
        shown = 0; // drops the sign of -0
    return QString::number(shown, 'f', decimals);
}

bool IsNumberChar(QChar c)
{
    return IsDigitChar(c) || c == QLatin1Char('.');
}

bool IsDigitChar(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

QString NotANumberText(const QString& text)
{
    if (text.size() <= ShownTextLength)
        return QStringLiteral("“%1”不是有效的数字").arg(text);
    // A cut never splits a surrogate pair.
    const int cut = text.at(ShownTextLength - 1).isHighSurrogate() ? ShownTextLength - 1 : ShownTextLength;
    const QString shown = text.left(cut) + QStringLiteral("…");
    return QStringLiteral("“%1”不是有效的数字").arg(shown);
}

bool ReadTypedNumber(const QString& text, double& value, QString& error)
{
    if (ReadNumber(text, false, value))
        return true;
    error = NotANumberText(text);
    return false;
}

bool TextToFloat(const QString& text, double& value, QString& error)
{
    if (ReadNumber(text, true, value))
        return true;
    error = NotANumberText(text);
    return false;
}

} // namespace qiantai
