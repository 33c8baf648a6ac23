#include "base/commonhelpers.h"

namespace qiantai {

QString ChooseText(bool condition, const QString& ifTrue, const QString& ifFalse)
{
    return condition ? ifTrue : ifFalse;
}

QString PadNumber(int width, bool cut, qint64 value)
{
    const QString digits = QString::number(value);
    if (digits.size() < width)
        return QString(width - digits.size(), QLatin1Char('0')) + digits;
    if (cut && digits.size() > width)
        return width > 0 ? digits.right(width) : QString();
    return digits;
}

bool SplitText(const QString& separator, const QString& text, QStringList& pieces)
{
    pieces.clear();
    QString rest = text;
    if (!separator.isEmpty()) {
        for (qsizetype at = rest.indexOf(separator); at >= 0; at = rest.indexOf(separator)) {
            pieces.append(rest.left(at).trimmed());
            rest = rest.mid(at + separator.size());
        }
    }
    pieces.append(rest.trimmed());
    for (const QString& piece : pieces)
        if (piece.isEmpty())
            return false;
    return true;
}

} // namespace qiantai
