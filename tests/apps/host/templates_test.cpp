// The demo store's receipt templates: the files of db/templates, as the
// module asks for them, and loadable by the report engine.
#include "hostfixture.h"

#include "report/report.h"

#include <QFile>

namespace qiantai::host::test {
namespace {

using TemplatesTest = HostTest;

// A file of db/templates in the source tree.
QString SourceTemplate(const char* file)
{
    QFile f(QStringLiteral(QIANTAI_SOURCE_DIR "/db/templates/") + QLatin1String(file));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

TEST_P(TemplatesTest, ReceiptTemplatesAreTheFilesAndLoad)
{
    struct Expected {
        const char* category;
        const char* file;
        const char* titleVariable; // the department name in the first line
    };
    const Expected expected[] = {{"销货单", "xiaohuodan.txt", "Bmmc"},
                                 {"销货退单", "xiaohuotuidan.txt", "f_BMmc"}};
    for (const Expected& e : expected) {
        const QString category = QString::fromUtf8(e.category);
        SCOPED_TRACE(e.file);
        const QString source = SourceTemplate(e.file);
        ASSERT_FALSE(source.isEmpty());

        QVariantList args{category, QVariant()};
        ASSERT_TRUE(call(dispid::GetReportTemplates, args).toBool()) << args[1].toString().toStdString();
        const DataPacket rows = packetFromVariant(args[1]);
        ASSERT_EQ(rows.rowCount(), 1);
        EXPECT_EQ(rows.value(0, QStringLiteral("f_reportname")).toString(), category);
        const QString text = rows.value(0, QStringLiteral("f_reportinfo")).toString();
        EXPECT_EQ(text, source);

        Report report;
        QString error;
        ASSERT_TRUE(report.Load(text, &error)) << error.toStdString();
        report.SetVariable(QString::fromLatin1(e.titleVariable), QStringLiteral("电器连锁一号门店"));
        DataPacket lines({{QStringLiteral("f_Spbm"), FieldType::Text},
                          {QStringLiteral("f_Spmc"), FieldType::Text},
                          {QStringLiteral("f_Xssl"), FieldType::Float},
                          {QStringLiteral("f_Ssje"), FieldType::Float}});
        lines.appendRow({QStringLiteral("100001"), QStringLiteral("液晶平板电视"), 2.0, 5998.0});
        report.SetDataSource(lines);
        const QStringList out = report.RenderText().split(QLatin1Char('\n'));
        ASSERT_FALSE(out.isEmpty());
        EXPECT_TRUE(out.first().trimmed().startsWith(QStringLiteral("电器连锁一号门店")))
            << out.first().toStdString();
        // The band writes the line once, with its numbers formatted.
        EXPECT_EQ(out.filter(QStringLiteral("液晶平板电视")).size(), 1);
        const QStringList amounts = out.filter(QStringLiteral("100001"));
        ASSERT_EQ(amounts.size(), 1);
        EXPECT_TRUE(amounts.first().contains(QStringLiteral("2.00"))) << amounts.first().toStdString();
        EXPECT_TRUE(amounts.first().contains(QStringLiteral("5998.00"))) << amounts.first().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, TemplatesTest, ::testing::Values(Backend::Sqlite, Backend::Postgres),
                         BackendName);

} // namespace
} // namespace qiantai::host::test
