// Printing a report without preview or dialog, on the receipt roll.
#pragma once

#include <QString>
#include <QStringList>

class QPainter;

namespace qiantai {

class Report;
struct RollPaper;

// The output that names the default printer (the station's [Report] Output
// is "printer" or a PDF file path).
extern const char* const DefaultPrinterOutput; // "printer"

// [Report] Output of the station INI; DefaultPrinterOutput when it is not set.
QString StationReportOutput();

// Prints `text` once on one page of `paper` as long as its lines (RollLines
// and RollPageSize): to the default printer when `output` is empty or
// "printer" (any case), otherwise to the PDF file `output`, replacing it.
// False with *error when there is no default printer, the printer reports an
// error or the PDF file cannot be written.
bool PrintRollText(const QString& text, const RollPaper& paper, const QString& output,
                   const QString& documentName, QString* error);

// PrintRollText of the report's text on the station's roll.
bool PrintReport(const Report& report, const QString& output, const QString& documentName, QString* error);

// Draws `lines` on a page of RollPageSize(paper, lines.size()) that fills
// the painter's device, each character in its column, in Report::Font(),
// the lines indented by RollIndent.
void PaintRoll(QPainter& painter, const RollPaper& paper, const QStringList& lines);

} // namespace qiantai
