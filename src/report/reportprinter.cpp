#include "report/reportprinter.h"

#include "host/inifile.h"
#include "report/report.h"

#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextDocument>

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

bool PrintReport(const Report& report, const QString& output, const QString& documentName, QString* error)
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
    QTextDocument document;
    report.RenderDocument(document);
    document.print(&printer);

    const bool failed =
        printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted;
    if (!toPrinter && (failed || QFileInfo(target).size() <= 0))
        return fail(error, QStringLiteral("无法写入文件：%1").arg(target));
    if (failed)
        return fail(error, QStringLiteral("打印失败"));
    return true;
}

} // namespace qiantai
