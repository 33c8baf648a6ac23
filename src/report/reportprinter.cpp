#include "report/reportprinter.h"

#include "base/inifile.h"
#include "report/report.h"
#include "report/rollpaper.h"

#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace qiantai {

const char* const DefaultPrinterOutput = "printer";

namespace {

bool fail(QString* error, const QString& message)
{
    if (error)
        *error = message;
    return false;
}

} // namespace

QString StationReportOutput()
{
    const QString output = StationIni::value(QStringLiteral("Report"), QStringLiteral("Output")).trimmed();
    return output.isEmpty() ? QString::fromLatin1(DefaultPrinterOutput) : output;
}

void PaintRoll(QPainter& painter, const RollPaper& paper, const QStringList& lines)
{
    const double perMm = double(painter.viewport().width()) / paper.widthMm;

    QFont font = Report::Font();
    font.setPixelSize(qMax(1, qRound(paper.characterMm() * perMm)));
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QFontMetricsF metrics(font, painter.device());
    const double pitch = paper.linePitchMm() * perMm;
    // The glyphs sit in the middle of their line.
    const double baseline = (pitch - metrics.height()) / 2 + metrics.ascent();
    const int indent = RollIndent(lines, paper.columns);

    for (int i = 0; i < lines.size(); ++i) {
        const double y = RollEndMarginMm * perMm + i * pitch + baseline;
        for (const RollCell& cell : RollCells(lines.at(i))) {
            const double x = (paper.sideMarginMm() + (indent + cell.column) * paper.columnMm()) * perMm;
            painter.drawText(QPointF(x, y), cell.character);
        }
    }
}

bool PrintRollText(const QString& text, const RollPaper& paper, const QString& output,
                   const QString& documentName, QString* error)
{
    const QString target = output.trimmed();
    const bool toPrinter =
        target.isEmpty() || target.compare(QLatin1String(DefaultPrinterOutput), Qt::CaseInsensitive) == 0;
    if (toPrinter && QPrinterInfo::defaultPrinter().isNull())
        return fail(error, QStringLiteral("没有默认打印机"));

    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(documentName);
    if (toPrinter) {
        printer.setPrinterName(QPrinterInfo::defaultPrinter().printerName());
    } else {
        QFile probe(target);
        if (!probe.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return fail(error, QStringLiteral("无法写入文件：%1").arg(target));
        probe.close();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(target);
    }
    const QStringList lines = RollLines(text, paper.columns);
    printer.setFullPage(true);
    printer.setPageSize(RollPageSize(paper, int(lines.size())));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);

    QPainter painter;
    bool painted = painter.begin(&printer);
    if (painted) {
        PaintRoll(painter, paper, lines);
        painted = painter.end();
    }

    const bool failed =
        !painted || printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted;
    if (!toPrinter && (failed || QFileInfo(target).size() <= 0))
        return fail(error, QStringLiteral("无法写入文件：%1").arg(target));
    if (failed)
        return fail(error, QStringLiteral("打印失败"));
    return true;
}

bool PrintReport(const Report& report, const QString& output, const QString& documentName, QString* error)
{
    return PrintRollText(report.RenderText(), StationRollPaper(), output, documentName, error);
}

} // namespace qiantai
