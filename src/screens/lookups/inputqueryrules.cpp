#include "screens/lookups/inputqueryrules.h"

#include "base/inifile.h"

#include <cstdlib>

namespace qiantai {

InputDialogColors& InputDialogColorState()
{
    static InputDialogColors colors;
    return colors;
}

IniValueError::IniValueError(const QString& key, const QString& value)
    : std::runtime_error(QString::fromUtf8("Quelmarpos.ini [ColorOption] %1=\"%2\" 不是有效的整数")
                             .arg(key, value)
                             .toStdString()),
      key_(key), value_(value)
{
}

bool ParseIniInteger(const QString& text, qint32& value)
{
    QString t = text;
    bool negative = false;
    if (t.startsWith(QLatin1Char('-')) || t.startsWith(QLatin1Char('+'))) {
        negative = t.front() == QLatin1Char('-');
        t.remove(0, 1);
    }
    int base = 10;
    if (t.startsWith(QLatin1Char('$'))) {
        base = 16;
        t.remove(0, 1);
    } else if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        base = 16;
        t.remove(0, 2);
    }
    if (t.isEmpty())
        return false;
    for (QChar c : t) {
        const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
        const bool hex = base == 16 && ((c >= QLatin1Char('a') && c <= QLatin1Char('f')) ||
                                        (c >= QLatin1Char('A') && c <= QLatin1Char('F')));
        if (!digit && !hex)
            return false;
    }
    bool ok = false;
    const qint64 magnitude = t.toLongLong(&ok, base);
    if (!ok)
        return false;
    const qint64 v = negative ? -magnitude : magnitude;
    // Hexadecimal numbers may use all 32 bits, as colour numbers are written.
    const qint64 high = base == 16 ? qint64(0xFFFFFFFF) : qint64(0x7FFFFFFF);
    if (v < -qint64(0x80000000) || v > high)
        return false;
    value = qint32(quint32(v));
    return true;
}

InputDialogColors NextInputDialogColors(const InputDialogColors& current, const QString& colorstyle,
                                        const QString& linecolor, const QString& backcolor)
{
    if (colorstyle == QLatin1String("0"))
        return current;
    InputDialogColors next;
    if (!ParseIniInteger(linecolor, next.line))
        throw IniValueError(QStringLiteral("linecolor"), linecolor);
    if (!ParseIniInteger(backcolor, next.back))
        throw IniValueError(QStringLiteral("backcolor"), backcolor);
    return next;
}

InputDialogColors LoadInputDialogColors()
{
    const QString file = QLatin1String(StationIni::FileName);
    const QString section = QStringLiteral("ColorOption");
    const QString style = ReadIniValue(file, section, QStringLiteral("colorstyle"), {}, QStringLiteral("0"));
    InputDialogColors& state = InputDialogColorState();
    if (style != QLatin1String("0"))
        state = NextInputDialogColors(
            state, style,
            ReadIniValue(file, section, QStringLiteral("linecolor"), {}, QStringLiteral("12349763")),
            ReadIniValue(file, section, QStringLiteral("backcolor"), {}, QStringLiteral("15528176")));
    return state;
}

QColor WindowsColor(qint32 bgr)
{
    const quint32 v = quint32(bgr);
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

int MulDivRound(int number, int unit, int divisor)
{
    const qint64 product = qint64(number) * unit;
    const qint64 half = std::llabs(qint64(divisor)) / 2;
    const bool negative = (product < 0) != (divisor < 0);
    const qint64 magnitude = (std::llabs(product) + half) / std::llabs(qint64(divisor));
    return int(negative ? -magnitude : magnitude);
}

InputDialogLayout ComputeInputDialogLayout(int lettersWidth, int letterHeight)
{
    const int x = lettersWidth / 52;
    const int y = letterHeight;
    InputDialogLayout l;
    l.client = QSize(MulDivRound(180, x, 4), MulDivRound(63, y, 8));
    l.prompt = QPoint(MulDivRound(8, x, 4), MulDivRound(8, y, 8));
    l.editLeft = l.prompt.x();
    l.editTop = MulDivRound(19, y, 8);
    l.editWidth = MulDivRound(164, x, 4);
    const int buttonTop = MulDivRound(41, y, 8);
    const int buttonWidth = MulDivRound(50, x, 4);
    const int buttonHeight = MulDivRound(14, y, 8);
    l.okButton = QRect(MulDivRound(38, x, 4), buttonTop, buttonWidth, buttonHeight);
    l.cancelButton = QRect(MulDivRound(92, x, 4), buttonTop, buttonWidth, buttonHeight);
    return l;
}

QString InputMeasureLetters()
{
    return QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
}

} // namespace qiantai
