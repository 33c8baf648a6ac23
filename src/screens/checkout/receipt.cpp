#include "screens/checkout/receipt.h"

#include "base/logcategories.h"
#include "devices/posprinter.h"
#include "devices/systemclock.h"
#include "hostcalls/hostservice.h"
#include "report/report.h"
#include "report/reportprinter.h"
#include "report/rollpaper.h"
#include "sale/salesession.h"
#include "screens/checkout/receipttext.h"

#include <optional>

namespace qiantai {

const char* const SaleReceiptCategory = "销货单";

namespace {

constexpr int InstallationSale = 2;
const QString TextReceiptMode = QStringLiteral("1");

bool fail(QString* error, const QString& message)
{
    if (error)
        *error = message;
    return false;
}

// f_Djh of the first row of the related-document query; empty when the query
// fails or finds nothing.
QString relatedDocumentNumber(SaleSession& s)
{
    const QString sql = RelatedDocumentQuery(s.Djh);
    if (sql.isEmpty() || !s.HostObject)
        return {};
    HostService host(s.HostObject.get());
    DataPacket rows;
    if (!host.OpenQuery(sql, rows) || rows.isEmpty())
        return {};
    return rows.value(0, QStringLiteral("f_Djh")).toString();
}

// The first template row named `category`, ignoring case; -1 when none.
int findTemplate(const DataPacket& templates, const QString& category)
{
    for (int r = 0; r < templates.rowCount(); ++r)
        if (templates.value(r, QStringLiteral("f_reportname"))
                .toString()
                .compare(category, Qt::CaseInsensitive) == 0)
            return r;
    return -1;
}

QString printerFailure(long code)
{
    return QStringLiteral("小票打印失败（打印机返回%1），请检查打印机！").arg(code);
}

// What the cashier does about the state the printer reported.
QString printerStateText(long code, long extended)
{
    if (code == opos::EExtended && extended == opos::EptrRecEmpty)
        return QStringLiteral("打印机缺纸，请装好小票纸后重新打印！");
    if (code == opos::EExtended && extended == opos::EptrCoverOpen)
        return QStringLiteral("打印机盖未合上，请合上打印机盖后重新打印！");
    if (code == opos::EOffline)
        return QStringLiteral("打印机脱机，请检查打印机电源和连线后重新打印！");
    return printerFailure(code);
}

// Sends a text receipt: the text and a line feed, the closing feeds, a cut.
bool printText(SaleSession& s, const QString& text, QString* error)
{
    PosPrinter* printer = s.PosPrinter.get();
    if (!printer)
        return fail(error, QStringLiteral("小票打印机未初始化，请检查打印！"));
    if (const long code = printer->CheckStatus())
        return fail(error, printerStateText(code, printer->ResultCodeExtended()));
    if (const long code = printer->PrintNormal(opos::StationReceipt, text + QLatin1Char('\n')))
        return fail(error, printerFailure(code));
    for (int i = 0; i < ReceiptClosingFeeds; ++i)
        if (const long code = printer->PrintNormal(opos::StationReceipt, QStringLiteral("\n")))
            return fail(error, printerFailure(code));
    if (const long code = printer->CutPaper(opos::FullCut))
        return fail(error, printerFailure(code));
    // Paper that ran out during the receipt shows only now.
    if (const long code = printer->CheckStatus())
        return fail(error, printerStateText(code, printer->ResultCodeExtended()));
    return true;
}

bool printTemplate(const QString& text, const QString& reportOutput, QString* error)
{
    QString printError;
    if (!PrintRollText(text, StationRollPaper(), reportOutput, QString::fromUtf8(SaleReceiptCategory),
                       &printError))
        return fail(error, QStringLiteral("小票打印失败：") + printError);
    return true;
}

bool printCopy(SaleSession& s, const ReceiptCopy::Kind kind, const QString& text, const QString& reportOutput,
               QString* error)
{
    return kind == ReceiptCopy::Kind::Text ? printText(s, text, error)
                                           : printTemplate(text, reportOutput, error);
}

} // namespace

bool PrepareReceiptReport(SaleSession& s, const DataPacket& saleLines, Report& report, QString* error)
{
    const QString category = QString::fromUtf8(SaleReceiptCategory);
    const int row = findTemplate(s.SaleTemplates, category);
    if (row < 0)
        return fail(error, category + QStringLiteral("报表模板不存在！"));
    QString loadError;
    if (!report.Load(s.SaleTemplates.value(row, QStringLiteral("f_reportinfo")).toString(), &loadError))
        return fail(error, loadError);

    std::optional<QString> related;
    if (s.Xsfs == InstallationSale)
        related = relatedDocumentNumber(s);
    report.ClearVariables();
    for (const auto& [name, value] : ReceiptVariables(s, ModuleClock().Now(), related))
        report.SetVariable(name, value);
    report.SetDataSource(saleLines);
    return true;
}

bool PrintReceipt(SaleSession& s, const DataPacket& saleLines, const QString& reportOutput, QString* error)
{
    // A reprint never gives the receipt of an earlier document.
    s.LastReceipt = ReceiptCopy();
    ReceiptCopy copy;
    copy.documentNo = s.Djh;
    if (s.Xsxpdyfs == TextReceiptMode) {
        copy.kind = ReceiptCopy::Kind::Text;
        copy.body = BuildTextReceipt(s, saleLines, ModuleClock().Now());
    } else {
        Report report;
        if (!PrepareReceiptReport(s, saleLines, report, error))
            return false;
        copy.kind = ReceiptCopy::Kind::Template;
        copy.body = report.RenderText();
    }
    s.LastReceipt = copy;
    return printCopy(s, copy.kind, copy.body, reportOutput, error);
}

bool PrintReceipt(SaleSession& s, const DataPacket& saleLines, QString* error)
{
    return PrintReceipt(s, saleLines, StationReportOutput(), error);
}

bool ReprintLastReceipt(SaleSession& s, const QString& reportOutput, QString* error)
{
    const ReceiptCopy& copy = s.LastReceipt;
    if (copy.kind == ReceiptCopy::Kind::None)
        return fail(error, QStringLiteral("本次登录还没有打印过小票，没有可重印的小票！"));
    if (!printCopy(s, copy.kind, ReprintMarked(copy.body), reportOutput, error))
        return false;
    qCInfo(lcPrinting).noquote() << "receipt of sale" << copy.documentNo << "reprinted";
    return true;
}

} // namespace qiantai
