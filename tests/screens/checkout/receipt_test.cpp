#include "base/gbk.h"
#include "devices/escposprinter.h"
#include "devices/systemclock.h"
#include "fakehost.h"
#include "loopbackreceiver.h"
#include "qiantai/dispids.h"
#include "report/report.h"
#include "sale/packets.h"
#include "sale/payments.h"
#include "sale/paymenttable.h"
#include "sale/salesession.h"
#include "screens/checkout/receipt.h"
#include "screens/checkout/receipttext.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qiantai;
using qiantai::test::FakeHost;

namespace {

const QDateTime Now(QDate(2026, 12, 10), QTime(9, 5, 3));

class FixedClock : public SystemClock {
public:
    QDateTime Now() const override { return ::Now; }
    bool Set(const QDateTime&) override { return false; }
};

// Records every call; answers `failAt` from the call of that number.
class RecordingPrinter : public PosPrinter {
public:
    QStringList calls;
    int failAt = -1;
    long answer() { return int(calls.size()) - 1 == failAt ? opos::EDisabled : opos::Success; }
    long Open(const QString&) override { return opos::Success; }
    long Claim(int) override { return opos::Success; }
    long SetDeviceEnabled(bool) override { return opos::Success; }
    bool DeviceEnabled() const override { return true; }
    bool Claimed() const override { return true; }
    long PrintNormal(int station, const QString& text) override
    {
        calls << QStringLiteral("PrintNormal(%1,%2)").arg(station).arg(text);
        return answer();
    }
    long CutPaper(int percentage) override
    {
        calls << QStringLiteral("CutPaper(%1)").arg(percentage);
        return answer();
    }
    // The answers of successive CheckStatus calls (then Success), with
    // their extended codes.
    QList<std::pair<long, long>> states;
    long extended = 0;
    long CheckStatus() override
    {
        calls << QStringLiteral("CheckStatus");
        const auto state = states.isEmpty() ? std::pair<long, long>{opos::Success, 0} : states.takeFirst();
        extended = state.second;
        return state.first;
    }
    long ResultCodeExtended() const override { return extended; }
    long Release() override { return opos::Success; }
    long Close() override { return opos::Success; }
};

QString templateFile(const char* name)
{
    QFile f(QStringLiteral(QIANTAI_SOURCE_DIR "/db/templates/") + QLatin1String(name));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

DataPacket templates(const QList<QVariantList>& rows)
{
    return FakeHost::table({"f_reportname", "f_reportinfo"}, rows);
}

struct ReceiptTest : ::testing::Test {
    FixedClock clock;
    SaleSession s;
    QTemporaryDir dir;

    void SetUp() override
    {
        SetModuleClock(&clock);
        ASSERT_TRUE(dir.isValid());
        BuildPaymentMethods(s);
        s.Dybm = "0101";
        s.Bmmc = QStringLiteral("百货店");
        s.Djh = "0000000012";
        s.Syybm = "S01";
        s.Syymc = QStringLiteral("张三");
        s.Yyybm = "Y01";
        s.Yyymc = QStringLiteral("李四");
        s.Gzbm = "G1";
        s.Gzmc = QStringLiteral("家电柜");
        TSaleRecord& tv = s.SaleLines.Add();
        tv.ProductCode = "0100001";
        tv.ProductName = QStringLiteral("海尔电视机");
        tv.NetAmount = 50;
        tv.TaxAmount = 10;
        TSaleRecord& dvd = s.SaleLines.Add();
        dvd.ProductCode = "0200002";
        dvd.ProductName = "DVD";
        dvd.Quantity = 2;
        dvd.NetAmount = 42.74;
        dvd.TaxAmount = 7.26;
        s.DocTotalAmount = 110;
        s.AmountDue = 110;
        AddPaymentEntry(s, "0001", paykind::Cash, "", "", 0, "", 60, 0);
        AddPaymentEntry(s, "0001", paykind::Cash, "", "", 0, "", 60, 0);
    }
    void TearDown() override { SetModuleClock(nullptr); }

    QString pdf() const { return dir.filePath("receipt.pdf"); }
};

} // namespace

namespace {

QString sp(int n)
{
    return QString(n, QLatin1Char(' '));
}

// A FakeHost owned by the session.
FakeHost* attachHost(SaleSession& s)
{
    auto* host = new FakeHost;
    s.HostObject = CoorDispRef(host);
    host->release();
    return host;
}

} // namespace

TEST_F(ReceiptTest, TextModeSendsTheReceiptFourFeedsAndACut)
{
    s.Xsxpdyfs = "1";
    auto printer = std::make_shared<RecordingPrinter>();
    s.PosPrinter = printer;
    const DataPacket lines = SaleLinesPacket(s.SaleLines);
    QString error;
    ASSERT_TRUE(PrintReceipt(s, lines, "", &error)) << error.toStdString();
    const QString feed = "PrintNormal(2,\n)";
    EXPECT_EQ(printer->calls,
              QStringList({"CheckStatus", "PrintNormal(2," + BuildTextReceipt(s, lines, Now) + "\n)", feed,
                           feed, feed, feed, "CutPaper(100)", "CheckStatus"}));
}

TEST_F(ReceiptTest, TextModeReportsAPrinterRefusalAndStops)
{
    s.Xsxpdyfs = "1";
    for (int failAt : {0, 3, 5}) {
        SCOPED_TRACE(failAt);
        auto printer = std::make_shared<RecordingPrinter>();
        printer->failAt = failAt + 1;
        s.PosPrinter = printer;
        QString error;
        EXPECT_FALSE(PrintReceipt(s, SaleLinesPacket(s.SaleLines), "", &error));
        EXPECT_EQ(error, QStringLiteral("小票打印失败（打印机返回105），请检查打印机！"));
        EXPECT_EQ(printer->calls.size(), failAt + 2); // after the status check
    }
    s.PosPrinter.reset();
    QString error;
    EXPECT_FALSE(PrintReceipt(s, SaleLinesPacket(s.SaleLines), "", &error));
    EXPECT_EQ(error, QStringLiteral("小票打印机未初始化，请检查打印！"));
}

// The state before the receipt stops it unprinted; the state after it (paper
// that ran out while printing) is told as well. Either way the cashier reads
// what to do.
TEST_F(ReceiptTest, TextModeTellsWhatThePrinterReports)
{
    s.Xsxpdyfs = "1";
    const struct {
        const char* name;
        QList<std::pair<long, long>> states;
        int calls;
        const char* error;
    } cases[] = {
        {"paper out before",
         {{opos::EExtended, opos::EptrRecEmpty}},
         1,
         "打印机缺纸，请装好小票纸后重新打印！"},
        {"cover open before",
         {{opos::EExtended, opos::EptrCoverOpen}},
         1,
         "打印机盖未合上，请合上打印机盖后重新打印！"},
        {"off line before", {{opos::EOffline, 0}}, 1, "打印机脱机，请检查打印机电源和连线后重新打印！"},
        {"paper out after",
         {{opos::Success, 0}, {opos::EExtended, opos::EptrRecEmpty}},
         8,
         "打印机缺纸，请装好小票纸后重新打印！"},
        {"other extended code", {{opos::EExtended, 299}}, 1, "小票打印失败（打印机返回114），请检查打印机！"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto printer = std::make_shared<RecordingPrinter>();
        printer->states = c.states;
        s.PosPrinter = printer;
        QString error;
        EXPECT_FALSE(PrintReceipt(s, SaleLinesPacket(s.SaleLines), "", &error));
        EXPECT_EQ(error, QString::fromUtf8(c.error));
        EXPECT_EQ(printer->calls.size(), c.calls);
    }
}

// The station's printer on loopback, out of paper: nothing but the set-up
// and the status requests reach it; with paper the receipt prints whole.
TEST_F(ReceiptTest, TextModeAsksTheNetworkPrinterItsState)
{
    s.Xsxpdyfs = "1";
    const DataPacket lines = SaleLinesPacket(s.SaleLines);
    for (const bool paper : {false, true}) {
        SCOPED_TRACE(paper);
        test::LoopbackReceiver receiver(test::LoopbackReceiver::Status{
            0x12, 0x12, paper ? char(0x12) : test::LoopbackReceiver::PaperOut});
        auto printer = std::make_shared<EscPosPrinter>(
            [&](const QString&) { return QStringLiteral("tcp://127.0.0.1:%1").arg(receiver.port()); });
        ASSERT_EQ(printer->Open("OmronPrinter"), opos::Success);
        ASSERT_EQ(printer->Claim(1000), opos::Success);
        ASSERT_EQ(printer->SetDeviceEnabled(true), opos::Success);
        s.PosPrinter = printer;
        QString error;
        EXPECT_EQ(PrintReceipt(s, lines, "", &error), paper);
        EXPECT_EQ(error, paper ? QString() : QStringLiteral("打印机缺纸，请装好小票纸后重新打印！"));
        printer->Close();
        s.PosPrinter.reset();
        const QByteArray init("\x1b\x40\x1c\x26", 4);
        const QByteArray receipt =
            init + ToGbk(BuildTextReceipt(s, lines, Now)) + "\n" + "\n\n\n\n" + QByteArray("\x1d\x56\x00", 3);
        EXPECT_EQ(receiver.bytes().toHex(' '), (paper ? receipt : init).toHex(' '));
        EXPECT_EQ(receiver.statusRequests(), paper ? 6 : 3);
    }
}

TEST_F(ReceiptTest, TextModeWritesEscPosBytesThroughThePrinterAdapter)
{
    s.Xsxpdyfs = "1";
    const QString prn = dir.filePath("receipt.prn");
    auto printer = std::make_shared<EscPosPrinter>([&](const QString&) { return "file:" + prn; });
    ASSERT_EQ(printer->Open("OmronPrinter"), opos::Success);
    ASSERT_EQ(printer->Claim(1000), opos::Success);
    ASSERT_EQ(printer->SetDeviceEnabled(true), opos::Success);
    s.PosPrinter = printer;
    const DataPacket lines = SaleLinesPacket(s.SaleLines);
    QString error;
    ASSERT_TRUE(PrintReceipt(s, lines, "", &error)) << error.toStdString();
    printer->Close();

    QFile f(prn);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray expected = QByteArray("\x1b\x40\x1c\x26") + ToGbk(BuildTextReceipt(s, lines, Now)) +
                                "\n" + "\n\n\n\n" + QByteArray("\x1d\x56\x00", 3);
    EXPECT_EQ(f.readAll().toHex(' '), expected.toHex(' '));
}

TEST_F(ReceiptTest, DemoTemplatesLoadAndTheSaleReceiptLaysOut)
{
    const QString sale = templateFile("xiaohuodan.txt");
    const QString ret = templateFile("xiaohuotuidan.txt");
    ASSERT_FALSE(sale.isEmpty());
    ASSERT_FALSE(ret.isEmpty());
    Report check;
    QString error;
    EXPECT_TRUE(check.Load(ret, &error)) << error.toStdString();

    s.SaleTemplates = templates({{QStringLiteral("销货退单"), ret}, {QStringLiteral("销货单"), sale}});
    Report report;
    ASSERT_TRUE(PrepareReceiptReport(s, SaleLinesPacket(s.SaleLines), report, &error)) << error.toStdString();
    const QString dash(40, '-');
    const QStringList expected = {
        sp(12) + QStringLiteral("百货店销货单"),
        QString(40, '='),
        "单号:0000000012",
        "日期:2026-12-10 09:05:03",
        "柜组:G1 家电柜",
        "营业员:Y01 李四",
        "收银员:S01 张三",
        "会员卡:",
        dash,
        "商品名称/编码" + sp(11) + "数量" + sp(8) + "金额",
        dash,
        "海尔电视机",
        "  0100001" + sp(15) + "1.00" + sp(7) + "60.00",
        "DVD",
        "  0200002" + sp(15) + "2.00" + sp(7) + "50.00",
        dash,
        "应收金额:" + sp(25) + "110.00",
        "找零金额:" + sp(26) + "10.00",
        "欠款金额:" + sp(27) + "0.00",
        "返利金额:" + sp(27) + "0.00",
        "现金:" + sp(8) + "120.00 转帐:" + sp(11) + "0.00",
        "券类:" + sp(10) + "0.00 信用卡:" + sp(9) + "0.00",
        "会员卡:" + sp(8) + "0.00 福利证:" + sp(9) + "0.00",
        "消费:" + sp(10) + "0.00",
        "",
        "本次积分:" + sp(30) + "0",
        "",
        "客户信息:",
        dash,
        sp(6) + "多谢惠顾！欢迎再次光临！",
        "",
    };
    const QStringList rendered = report.RenderText().split('\n');
    EXPECT_EQ(rendered.join('\n').toStdString(), expected.join('\n').toStdString());
    for (const QString& line : rendered)
        EXPECT_LE(GbkWidth(line), ReceiptWidth) << line.toStdString();
}

TEST_F(ReceiptTest, TemplateModePrintsOnceToThePdfOfTheStation)
{
    s.SaleTemplates = templates({{QStringLiteral("销货单"), templateFile("xiaohuodan.txt")}});
    QString error;
    ASSERT_TRUE(PrintReceipt(s, SaleLinesPacket(s.SaleLines), pdf(), &error)) << error.toStdString();
    QFile f(pdf());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().startsWith("%PDF-"));

    const QString nowhere = dir.filePath("missing/receipt.pdf");
    EXPECT_FALSE(PrintReceipt(s, SaleLinesPacket(s.SaleLines), nowhere, &error));
    EXPECT_EQ(error, QStringLiteral("小票打印失败：无法写入文件：") + nowhere);
}

TEST_F(ReceiptTest, TemplateModeRefusesAMissingOrBrokenTemplate)
{
    FakeHost* host = attachHost(s);
    const struct {
        QList<QVariantList> rows;
        const char* error;
    } cases[] = {
        {{}, "销货单报表模板不存在！"},
        {{{QStringLiteral("销货退单"), "[Djh]"}}, "销货单报表模板不存在！"},
        {{{QStringLiteral("销货单"), "[Djh]\n[Band]\n"}}, "报表模板第2行：“[Band]”缺少对应的“[EndBand]”"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.error);
        s.SaleTemplates = templates(c.rows);
        QString error;
        EXPECT_FALSE(PrintReceipt(s, SaleLinesPacket(s.SaleLines), pdf(), &error));
        EXPECT_EQ(error.toStdString(), c.error);
        EXPECT_FALSE(QFile::exists(pdf()));
    }
    EXPECT_TRUE(host->calls().isEmpty());
}

TEST_F(ReceiptTest, RelatedDocumentOnlyForInstallationSales)
{
    FakeHost* host = attachHost(s);
    s.SaleTemplates = templates({{QStringLiteral("销货单"), "[Gjdjh]"}});
    s.Djh = "201001000305";
    const QString sql = "Select f_Djh From tb201001_Spgjcb Where f_YDjh = '201001000305' ";

    const struct {
        const char* what;
        int xsfs;
        std::function<void()> host;
        bool set;
        const char* gjdjh;
    } cases[] = {
        {"found", 2,
         [&] {
             host->answer(dispid::OpenQuery, 1,
                          packetToVariant(FakeHost::table({"f_Djh"}, {{"201001000999"}})));
         },
         true, "201001000999"},
        {"no row", 2,
         [&] { host->answer(dispid::OpenQuery, 1, packetToVariant(FakeHost::table({"f_Djh"}))); }, true, ""},
        {"refused", 2, [&] { host->refuse(dispid::OpenQuery, "no table"); }, true, ""},
        {"raises", 2, [&] { host->fail(dispid::OpenQuery, "broken"); }, true, ""},
        {"store pickup", 0, [] {}, false, ""},
        {"delivery", 1, [] {}, false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        host->clearLog();
        c.host();
        s.Xsfs = c.xsfs;
        Report report;
        QString error;
        ASSERT_TRUE(PrepareReceiptReport(s, SaleLinesPacket(s.SaleLines), report, &error));
        EXPECT_EQ(report.HasVariable("Gjdjh"), c.set);
        EXPECT_EQ(report.Variable("Gjdjh").toString().toStdString(), c.gjdjh);
        if (c.set) {
            ASSERT_EQ(host->count(dispid::OpenQuery), 1);
            EXPECT_EQ(host->calls()[0].args[0].toString(), sql);
        } else {
            EXPECT_TRUE(host->calls().isEmpty());
        }
    }
}

// A reprint sends what the last receipt sent, under the reprint mark, to
// where it went, and asks the host nothing.
TEST_F(ReceiptTest, ReprintSendsTheLastReceiptAgainUnderTheMark)
{
    FakeHost* host = attachHost(s);
    s.Xsxpdyfs = "1";
    auto printer = std::make_shared<RecordingPrinter>();
    s.PosPrinter = printer;
    QString error;
    EXPECT_FALSE(ReprintLastReceipt(s, pdf(), &error));
    EXPECT_EQ(error, QStringLiteral("本次登录还没有打印过小票，没有可重印的小票！"));
    EXPECT_TRUE(printer->calls.isEmpty());

    const DataPacket lines = SaleLinesPacket(s.SaleLines);
    const QString receipt = BuildTextReceipt(s, lines, Now);
    ASSERT_TRUE(PrintReceipt(s, lines, "", &error)) << error.toStdString();
    const QStringList first = printer->calls;
    printer->calls.clear();
    // The next document has begun: the copy is still the one printed.
    s.Djh = "0000000013";
    s.SaleLines.Clear();
    ASSERT_TRUE(ReprintLastReceipt(s, pdf(), &error)) << error.toStdString();
    QStringList again = first;
    ASSERT_EQ(again[1], "PrintNormal(2," + receipt + "\n)");
    again[1] = "PrintNormal(2," + ReprintMarked(receipt) + "\n)";
    EXPECT_EQ(printer->calls, again);
    EXPECT_TRUE(printer->calls[1].startsWith(QStringLiteral("PrintNormal(2,              *** 重印 ***\r\n")));
    EXPECT_FALSE(QFile::exists(pdf()));

    // A refusing printer is told, as on the first print.
    printer->failAt = 1;
    printer->calls.clear();
    EXPECT_FALSE(ReprintLastReceipt(s, pdf(), &error));
    EXPECT_EQ(error, QStringLiteral("小票打印失败（打印机返回105），请检查打印机！"));
    EXPECT_TRUE(host->calls().isEmpty());
}

TEST_F(ReceiptTest, ReprintOfATemplateReceiptGoesToTheReportOutput)
{
    FakeHost* host = attachHost(s);
    s.SaleTemplates = templates({{QStringLiteral("销货单"), "[Bmmc]销货单\n单号:[Djh]\n"}});
    QString error;
    ASSERT_TRUE(PrintReceipt(s, SaleLinesPacket(s.SaleLines), pdf(), &error)) << error.toStdString();
    EXPECT_EQ(s.LastReceipt.kind, ReceiptCopy::Kind::Template);
    EXPECT_EQ(s.LastReceipt.body, QStringLiteral("百货店销货单\n单号:0000000012\n"));
    ASSERT_TRUE(QFile::remove(pdf()));
    ASSERT_TRUE(ReprintLastReceipt(s, pdf(), &error)) << error.toStdString();
    QFile f(pdf());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().startsWith("%PDF-"));
    EXPECT_TRUE(host->calls().isEmpty());

    // A receipt that could not be built leaves nothing to reprint: never the
    // receipt of the document before.
    s.SaleTemplates = templates({});
    EXPECT_FALSE(PrintReceipt(s, SaleLinesPacket(s.SaleLines), pdf(), &error));
    EXPECT_EQ(s.LastReceipt.kind, ReceiptCopy::Kind::None);
    EXPECT_FALSE(ReprintLastReceipt(s, pdf(), &error));
}
