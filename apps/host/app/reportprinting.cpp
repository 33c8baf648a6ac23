#include "reportprinting.h"

#include "devices/posprinter.h"
#include "devices/stationprinter.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QStringList>

namespace qiantai::host {

namespace {

constexpr int ClosingFeeds = 4; // the last line clears the cutter

} // namespace

Result<> WriteTextPdf(const QString& text, const QString& file)
{
    QPdfWriter pdf(file);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setResolution(300);
    pdf.setTitle(QStringLiteral("收银员日报"));
    QPainter painter;
    if (!painter.begin(&pdf))
        return Failure{QStringLiteral("不能写入PDF文件%1").arg(file)};
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(10);
    painter.setFont(font);
    const QFontMetrics metrics(font, &pdf);
    const int lineHeight = metrics.lineSpacing();
    const int margin = pdf.resolution() / 2;
    const int bottom = pdf.height() - margin;
    int y = margin + metrics.ascent();
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        if (y > bottom) {
            pdf.newPage();
            y = margin + metrics.ascent();
        }
        painter.drawText(margin, y, line);
        y += lineHeight;
    }
    if (!painter.end())
        return Failure{QStringLiteral("不能写入PDF文件%1").arg(file)};
    return {};
}

Result<> PrintOnReceiptPrinter(const QString& text)
{
    const std::shared_ptr<PosPrinter> printer = CreateStationPrinter();
    const QString device = QString::fromLatin1(ReceiptPrinterDevice);
    auto failed = [&](const char* step, long code) -> Result<> {
        printer->Close();
        return Failure{QStringLiteral("小票打印机%1(%2)%3失败，打印机返回%4")
                           .arg(device, StationPrinterUri(device), QString::fromUtf8(step))
                           .arg(code)};
    };
    if (const long code = printer->Open(device))
        return failed("连接", code);
    if (const long code = printer->Claim(1000))
        return failed("占用", code);
    if (const long code = printer->SetDeviceEnabled(true))
        return failed("启用", code);
    if (const long code = printer->CheckStatus())
        return failed("状态检查", code);
    if (const long code =
            printer->PrintNormal(opos::StationReceipt, text + QString(ClosingFeeds, QLatin1Char('\n'))))
        return failed("打印", code);
    if (const long code = printer->CutPaper(opos::FullCut))
        return failed("切纸", code);
    printer->Release();
    printer->Close();
    return {};
}

} // namespace qiantai::host
