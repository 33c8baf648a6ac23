#include "base/gbk.h"
#include "report/report.h"
#include "report/reportprinter.h"
#include "report/rollpaper.h"
#include "stationdirectory.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qiantai;

namespace {

constexpr double PointsPerMm = 72 / 25.4;

RollPaper paperOf(int widthMm)
{
    const std::optional<RollPaper> paper = RollPaperOfWidth(widthMm);
    return paper ? *paper : RollPaper{};
}

// The demo receipt template filled in, with `rows` sale lines.
Report demoReceipt(int rows)
{
    QFile f(QStringLiteral(QIANTAI_SOURCE_DIR "/db/templates/xiaohuodan.txt"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    Report r;
    QString error;
    EXPECT_TRUE(r.Load(QString::fromUtf8(f.readAll()), &error)) << error.toStdString();
    r.SetVariable("Bmmc", QStringLiteral("百货一店"));
    r.SetVariable("Djh", "0000000012");
    r.SetVariable("Rq", "2026-12-10 09:05:03");
    r.SetVariable("Sjysfk", 1234.5);
    r.SetVariable("Hykye", QStringLiteral("卡号:8800000001 余额:12.00"));
    DataPacket lines;
    lines.addColumn("f_Spbm", FieldType::Text, 15);
    lines.addColumn("f_Spmc", FieldType::Text, 60);
    lines.addColumn("f_Xssl", FieldType::Float);
    lines.addColumn("f_Ssje", FieldType::Float);
    for (int i = 0; i < rows; ++i)
        lines.appendRow({QStringLiteral("01000%1").arg(i, 2, 10, QLatin1Char('0')),
                         QStringLiteral("三十二英寸液晶电视机（壁挂式）第%1台").arg(i + 1), 1.0, 2999.5});
    r.SetDataSource(lines);
    return r;
}

// The page boxes of a PDF in points: width and height of each /MediaBox.
QList<QSizeF> mediaBoxes(const QByteArray& pdf)
{
    static const QRegularExpression box(
        QStringLiteral(R"(/MediaBox\s*\[\s*([-\d.]+)\s+([-\d.]+)\s+([-\d.]+)\s+([-\d.]+)\s*\])"));
    QList<QSizeF> sizes;
    auto it = box.globalMatch(QString::fromLatin1(pdf));
    while (it.hasNext()) {
        const auto m = it.next();
        sizes.append(QSizeF(m.captured(3).toDouble() - m.captured(1).toDouble(),
                            m.captured(4).toDouble() - m.captured(2).toDouble()));
    }
    return sizes;
}

} // namespace

TEST(RollPaper, WidthFromTheStationIni)
{
    const struct {
        const char* value;
        int widthMm;
        int columns;
        bool warned;
    } cases[] = {
        {"", 80, 48, false},  {"80", 80, 48, false},  {" 58 ", 58, 32, false},
        {"70", 80, 48, true}, {"58mm", 80, 48, true}, {"-80", 80, 48, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        QString warning;
        const RollPaper paper = RollPaperFromIni(QString::fromLatin1(c.value), &warning);
        EXPECT_EQ(paper.widthMm, c.widthMm);
        EXPECT_EQ(paper.columns, c.columns);
        EXPECT_EQ(!warning.isEmpty(), c.warned) << warning.toStdString();
        if (c.warned) {
            EXPECT_EQ(warning,
                      QStringLiteral("[Report] PaperWidth=%1 无效，只能是80或58（毫米），按80毫米打印")
                          .arg(QString::fromLatin1(c.value).trimmed()));
        }
    }

    qiantai::test::StationDirectory station;
    ASSERT_TRUE(station.IsValid());
    EXPECT_EQ(StationRollPaper().widthMm, 80); // no station file
    ASSERT_TRUE(station.WriteStation("[report]\r\npaperwidth = 58\r\n"));
    EXPECT_EQ(StationRollPaper().columns, 32);
}

TEST(RollPaper, LinesWrapAtTheirGbkWidth)
{
    const QString forty = QString(40, QLatin1Char('='));
    const struct {
        QString text;
        int columns;
        QStringList lines;
    } cases[] = {
        {QStringLiteral("ab\r\n\r\ncd  \n"), 32, {"ab", "", "cd"}},
        {forty + "\n", 48, {forty}},
        {forty + "\n", 32, {QString(32, '='), QString(8, '=')}},
        // A Chinese character that would end past the edge starts the next line.
        {QString(31, 'x') + QStringLiteral("中文"), 32, {QString(31, 'x'), QStringLiteral("中文")}},
        {QString(30, 'x') + QStringLiteral("中文"),
         32,
         {QString(30, 'x') + QStringLiteral("中"), QStringLiteral("文")}},
        {QString(), 48, {""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(RollLines(c.text, c.columns), c.lines);
    }
}

TEST(RollPaper, DemoReceiptFitsBothRollsAndNothingIsAdded)
{
    const QString text = demoReceipt(3).RenderText();
    for (const int width : {80, 58}) {
        SCOPED_TRACE(width);
        const RollPaper paper = paperOf(width);
        const QStringList lines = RollLines(text, paper.columns);
        for (const QString& line : lines)
            EXPECT_LE(GbkWidth(line), paper.columns) << line.toStdString();
        // Every character of the text and nothing else, page numbers least of all.
        QString rendered = text;
        rendered.remove(QRegularExpression(QStringLiteral("\\s")));
        EXPECT_EQ(lines.join(QString()).remove(QRegularExpression(QStringLiteral("\\s"))), rendered);
    }
    // The demo template is 40 columns wide: on 80 mm no line is continued and
    // the lines are centred; on 58 mm they fill the roll.
    const QStringList lines = RollLines(text, 48);
    EXPECT_EQ(lines.size(), text.count(QLatin1Char('\n')));
    EXPECT_EQ(RollIndent(lines, 48), 4);
    EXPECT_EQ(RollIndent(RollLines(text, 32), 32), 0);
}

TEST(RollPaper, PageIsTheRollWideAndAsLongAsItsLines)
{
    const RollPaper paper = paperOf(80);
    EXPECT_DOUBLE_EQ(paper.columnMm(), 1.5);
    EXPECT_DOUBLE_EQ(paper.sideMarginMm(), 4);
    const QSizeF two = RollPageSize(paper, 2).size(QPageSize::Millimeter);
    const QSizeF twenty = RollPageSize(paper, 20).size(QPageSize::Millimeter);
    EXPECT_DOUBLE_EQ(two.width(), 80);
    EXPECT_DOUBLE_EQ(two.height(), 2 * RollEndMarginMm + 2 * paper.linePitchMm());
    EXPECT_DOUBLE_EQ(twenty.height() - two.height(), 18 * paper.linePitchMm());
    EXPECT_DOUBLE_EQ(RollPageSize(paperOf(58), 2).size(QPageSize::Millimeter).width(), 58);
}

TEST(RollPaper, PaintsTheLinesAndNothingBelowThem)
{
    const RollPaper paper = paperOf(80);
    const QStringList lines{QStringLiteral("合计 12.00"), QString(), QStringLiteral("谢谢")};
    const QSizeF mm = RollPageSize(paper, int(lines.size())).size(QPageSize::Millimeter);
    constexpr double PixelsPerMm = 8; // a 203 dpi printer
    QImage page(qRound(mm.width() * PixelsPerMm), qRound(mm.height() * PixelsPerMm), QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    PaintRoll(painter, paper, lines);
    painter.end();

    // Whether any pixel between `top` and `bottom` (mm from the top) is inked.
    const auto inked = [&](double top, double bottom) {
        for (int y = qRound(top * PixelsPerMm); y < qRound(bottom * PixelsPerMm) && y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                if (qGray(page.pixel(x, y)) < 128)
                    return true;
        return false;
    };
    const double pitch = paper.linePitchMm();
    EXPECT_FALSE(inked(0, RollEndMarginMm));
    EXPECT_TRUE(inked(RollEndMarginMm, RollEndMarginMm + pitch));
    EXPECT_FALSE(inked(RollEndMarginMm + pitch, RollEndMarginMm + 2 * pitch));
    EXPECT_TRUE(inked(RollEndMarginMm + 2 * pitch, RollEndMarginMm + 3 * pitch));
    EXPECT_FALSE(inked(RollEndMarginMm + 3 * pitch, mm.height())); // no page number
}

TEST(RollPaper, PdfPageIsEightyMillimetresWideAndAsLongAsTheReceipt)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const RollPaper paper = paperOf(80);
    QList<QSizeF> pages;
    for (const int rows : {2, 20}) {
        SCOPED_TRACE(rows);
        const QString pdf = dir.filePath(QStringLiteral("receipt%1.pdf").arg(rows));
        const QString text = demoReceipt(rows).RenderText();
        QString error;
        ASSERT_TRUE(PrintRollText(text, paper, pdf, QStringLiteral("销货单"), &error)) << error.toStdString();
        QFile f(pdf);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QList<QSizeF> boxes = mediaBoxes(f.readAll());
        ASSERT_EQ(boxes.size(), 1); // one page, however long
        const QSizeF expected =
            RollPageSize(paper, int(RollLines(text, paper.columns).size())).size(QPageSize::Millimeter);
        EXPECT_NEAR(boxes[0].width(), 80 * PointsPerMm, 0.5);
        EXPECT_NEAR(boxes[0].height(), expected.height() * PointsPerMm, 0.5);
        pages.append(boxes[0]);
    }
    EXPECT_GT(pages[1].height(), pages[0].height() + 18 * 2 * paper.linePitchMm() * PointsPerMm - 1);
}
