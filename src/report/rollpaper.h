// The receipt roll a report is printed on: its width from the station INI,
// how many characters a line holds, and the page that fits the text.
#pragma once

#include <QList>
#include <QPageSize>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <optional>

namespace qiantai {

struct RollPaper {
    int widthMm = 80;
    double printableMm = 72; // centred on the paper
    int columns = 48;        // half-width characters per line; a Chinese one takes two

    double columnMm() const { return printableMm / columns; }
    double sideMarginMm() const { return (widthMm - printableMm) / 2; }
    // A Chinese character is square: two columns wide and as tall.
    double characterMm() const { return 2 * columnMm(); }
    double linePitchMm() const { return characterMm() * 1.25; }
};

// Blank paper above the first line and below the last.
constexpr double RollEndMarginMm = 5;

// The rolls receipt printers take: 80 mm (48 columns) and 58 mm (32 columns).
std::optional<RollPaper> RollPaperOfWidth(int widthMm);

// The roll a [Report] PaperWidth value names: "80" or "58"; empty gives the
// 80 mm roll, and so does any other value, with *warning saying why.
RollPaper RollPaperFromIni(const QString& value, QString* warning);

// RollPaperFromIni of the station's [Report] PaperWidth; a bad value is
// logged as a warning.
RollPaper StationRollPaper();

struct RollCell {
    int column = 0; // from 0
    int width = 1;  // columns: a Chinese character takes two
    QString character;
};

// The characters of one line (a surrogate pair is one) and their columns.
QList<RollCell> RollCells(const QString& line);

// The lines of `text` ("\n" or "\r\n" ends a line) as printed on `columns`:
// blanks at a line's end dropped, a longer line continued on the next.
QStringList RollLines(const QString& text, int columns);

// Columns left blank before every line so that the widest of `lines` sits
// in the middle of `columns`: a template narrower than the roll is centred.
int RollIndent(const QStringList& lines, int columns);

// The page that holds `lineCount` lines on `paper`: the roll's width and the
// lines' height plus the end margins.
QPageSize RollPageSize(const RollPaper& paper, int lineCount);

} // namespace qiantai
