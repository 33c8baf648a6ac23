#include "report/report.h"
#include "report/reportprinter.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace qiantai;

namespace {

DataPacket twoLines()
{
    DataPacket p;
    p.addColumn("f_Spbm", FieldType::Text, 15);
    p.addColumn("f_Spmc", FieldType::Text, 60);
    p.addColumn("f_Xssl", FieldType::Float);
    p.addColumn("f_Ssje", FieldType::Float);
    p.appendRow({"0100001", QStringLiteral("电视机"), 1.0, 2999.5});
    p.appendRow({"0200002", "DVD", 2.0, 1.005});
    return p;
}

const char* const ReceiptTemplate = "[Bmmc]销货单\r\n"
                                    "单号:[Djh]\r\n"
                                    "[Band]\r\n"
                                    "[f_Spmc<10][f_Xssl:0>4][f_Ssje:0.00>10]\r\n"
                                    "[EndBand]\r\n"
                                    "合计:[Sjysfk:#,##0.00>19]\r\n"
                                    "[[备注]:[Xsbz][Missing]\r\n";

} // namespace

TEST(ReportLoad, ReportsTheLineOfTheFirstError)
{
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"", "报表模板第1行：模板为空"},
        {"a\nb [Foo Bar]\n", "报表模板第2行：无法识别的标记“[Foo Bar]”"},
        {"a\n[]\n", "报表模板第2行：无法识别的标记“[]”"},
        {"a\nb\n合计 [Xjje:0.0x]", "报表模板第3行：数字格式“0.0x”无效"},
        {"[Xjje:]", "报表模板第1行：数字格式“”无效"},
        {"[Xjje:0.00>0]", "报表模板第1行：宽度“0”无效"},
        {"[Xjje<x]", "报表模板第1行：宽度“x”无效"},
        {"[Xjje>-5]", "报表模板第1行：宽度“-5”无效"},
        {"ok\n[Djh", "报表模板第2行：“[”缺少对应的“]”"},
        {"x\n[EndBand]\n", "报表模板第2行：“[EndBand]”前没有“[Band]”"},
        {"x\n[Band]\ny\n", "报表模板第2行：“[Band]”缺少对应的“[EndBand]”"},
        {"[Band]\n[Band]\n[EndBand]\n", "报表模板第2行：“[Band]”不能嵌套"},
        {"[Band]\n[EndBand]\n\n[Band]\n[EndBand]\n", "报表模板第4行：只能有一个“[Band]”"},
        {"x [Band]\n[EndBand]\n", "报表模板第1行：“[Band]”须单独成行"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Report r;
        QString error;
        EXPECT_FALSE(r.Load(QString::fromUtf8(c.text), &error));
        EXPECT_EQ(error.toStdString(), c.error);
        EXPECT_FALSE(r.IsLoaded());
    }
}

TEST(ReportLoad, AFailedLoadDropsThePreviousLayout)
{
    Report r;
    ASSERT_TRUE(r.Load("A[Djh]\n"));
    r.SetVariable("Djh", "12");
    EXPECT_EQ(r.RenderText(), "A12\n");
    EXPECT_FALSE(r.Load("[Djh"));
    EXPECT_TRUE(r.RenderText().isEmpty());
}

TEST(ReportRender, WritesHeaderBandPerRowAndFooterWithFormatsAndWidths)
{
    Report r;
    QString error;
    ASSERT_TRUE(r.Load(QString::fromUtf8(ReceiptTemplate), &error)) << error.toStdString();
    r.SetVariable("BMMC", QStringLiteral("百货店"));
    r.SetVariable("djh", "0000000012");
    r.SetVariable("Sjysfk", 3000.505);
    r.SetVariable("Xsbz", QStringLiteral("统收单据:12\r\n统收金额:1500.00"));
    r.SetDataSource(twoLines());

    const QString expected = QStringLiteral("百货店销货单\n"
                                            "单号:0000000012\n"
                                            "电视机       1   2999.50\n"
                                            "DVD          2      1.01\n"
                                            "合计:           3,000.51\n"
                                            "[备注]:统收单据:12\n统收金额:1500.00\n");
    EXPECT_EQ(r.RenderText().toStdString(), expected.toStdString());
}

TEST(ReportRender, BandPrefersColumnsAndFallsBackToVariables)
{
    Report r;
    ASSERT_TRUE(r.Load("[Band]\n[f_Spbm] [Djh] [Kickje:0.00] [Flag]\n[EndBand]\n[f_Spbm]|[Qk]\n"));
    r.SetVariable("f_Spbm", "variable");
    r.SetVariable("Djh", "D1");
    r.SetVariable("Kickje", 0);
    r.SetVariable("Flag", true);
    r.SetVariable("Qk", 12.5);
    r.SetDataSource(twoLines());
    EXPECT_EQ(r.RenderText(), "0100001 D1 0.00 1\n0200002 D1 0.00 1\nvariable|12.5\n");
    EXPECT_TRUE(r.HasVariable("KICKJE"));
    EXPECT_FALSE(r.HasVariable("Gjdjh"));

    // No rows: the band writes nothing.
    r.SetDataSource(DataPacket());
    EXPECT_EQ(r.RenderText(), "variable|12.5\n");
}

TEST(ReportRender, HtmlAndDocumentCarryTheText)
{
    Report r;
    ASSERT_TRUE(r.Load("<b>[Name]</b>\n"));
    r.SetVariable("Name", "A&B");
    EXPECT_TRUE(r.RenderHtml().contains("&lt;b&gt;A&amp;B&lt;/b&gt;"));
    QTextDocument doc;
    r.RenderDocument(doc);
    EXPECT_EQ(doc.toPlainText(), "<b>A&B</b>\n");
}

TEST(ReportPrint, WritesAPdfFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Report r;
    ASSERT_TRUE(r.Load(QString::fromUtf8(ReceiptTemplate)));
    r.SetVariable("Bmmc", QStringLiteral("百货店"));
    r.SetDataSource(twoLines());

    const QString pdf = dir.filePath("receipt.pdf");
    QString error;
    ASSERT_TRUE(PrintReport(r, pdf, QStringLiteral("销货单"), &error)) << error.toStdString();
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF-"));
    EXPECT_TRUE(bytes.contains("/Type /Page"));

    // A path that cannot be written is an error, not a silent success.
    const QString nowhere = dir.filePath("missing/receipt.pdf");
    EXPECT_FALSE(PrintReport(r, nowhere, QStringLiteral("销货单"), &error));
    EXPECT_EQ(error, QStringLiteral("无法写入文件：%1").arg(nowhere)) << error.toStdString();
}

// The template receipt prints what the text receipt prints for characters
// outside GBK, and pads on the width of what is printed: "¥" prints as the
// two-byte "￥", "€" and an emoji as one "?" each.
TEST(ReportRender, PrintsGbkLookAlikesAndPadsOnWhatIsPrinted)
{
    Report r;
    ASSERT_TRUE(r.Load(QStringLiteral("€[Name<8]|[Price>6]|\n")));
    r.SetVariable("Name", QStringLiteral("¥😀电"));
    r.SetVariable("Price", QStringLiteral("•5"));
    EXPECT_EQ(r.RenderText(), QStringLiteral("?￥?电   |   ·5|\n"));
}
