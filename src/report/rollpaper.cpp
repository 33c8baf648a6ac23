#include "report/rollpaper.h"

#include "base/gbk.h"
#include "base/inifile.h"
#include "base/logcategories.h"

namespace qiantai {

std::optional<RollPaper> RollPaperOfWidth(int widthMm)
{
    switch (widthMm) {
    case 80:
        return RollPaper{80, 72, 48};
    case 58:
        return RollPaper{58, 48, 32};
    default:
        return std::nullopt;
    }
}

RollPaper RollPaperFromIni(const QString& value, QString* warning)
{
    const QString text = value.trimmed();
    if (text.isEmpty())
        return *RollPaperOfWidth(80);
    bool ok = false;
    const std::optional<RollPaper> paper = RollPaperOfWidth(text.toInt(&ok));
    if (ok && paper)
        return *paper;
    if (warning)
        *warning =
            QStringLiteral("[Report] PaperWidth=%1 无效，只能是80或58（毫米），按80毫米打印").arg(text);
    return *RollPaperOfWidth(80);
}

RollPaper StationRollPaper()
{
    QString warning;
    const RollPaper paper =
        RollPaperFromIni(StationIni::value(QStringLiteral("Report"), QStringLiteral("PaperWidth")), &warning);
    if (!warning.isEmpty())
        qCWarning(lcPrinting).noquote() << warning;
    return paper;
}

QList<RollCell> RollCells(const QString& line)
{
    QList<RollCell> cells;
    int column = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const qsizetype length = line.at(i).isHighSurrogate() && i + 1 < line.size() ? 2 : 1;
        RollCell cell;
        cell.column = column;
        cell.character = line.mid(i, length);
        cell.width = GbkWidth(cell.character);
        cells.append(cell);
        column += cell.width;
        i += length - 1;
    }
    return cells;
}

QStringList RollLines(const QString& text, int columns)
{
    QString body = text;
    body.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (body.endsWith(QLatin1Char('\n')))
        body.chop(1);
    QStringList lines;
    for (QString line : body.split(QLatin1Char('\n'))) {
        while (!line.isEmpty() && line.back().isSpace())
            line.chop(1);
        QString current;
        int start = 0; // column where `current` begins
        for (const RollCell& cell : RollCells(line)) {
            if (cell.column - start + cell.width > columns && !current.isEmpty()) {
                lines.append(current);
                current.clear();
                start = cell.column;
            }
            current += cell.character;
        }
        lines.append(current);
    }
    return lines;
}

int RollIndent(const QStringList& lines, int columns)
{
    int widest = 0;
    for (const QString& line : lines)
        widest = qMax(widest, GbkWidth(line));
    return qMax(0, (columns - widest) / 2);
}

QPageSize RollPageSize(const RollPaper& paper, int lineCount)
{
    const double heightMm = 2 * RollEndMarginMm + lineCount * paper.linePitchMm();
    return QPageSize(QSizeF(paper.widthMm, heightMm), QPageSize::Millimeter,
                     QStringLiteral("%1 mm roll").arg(paper.widthMm), QPageSize::ExactMatch);
}

} // namespace qiantai
