#include "stationdirectory.h"

#include "base/gbk.h"
#include "base/inifile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qiantai;

namespace {

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// A temporary station directory named by QIANTAI_INI_DIR for the test's
// duration.
class StationDir : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(station_.IsValid()); }
    QString path(const QString& name) const { return station_.Path(name); }
    void writeStation(const QByteArray& text) { ASSERT_TRUE(station_.WriteStation(text)); }

    qiantai::test::StationDirectory station_;
};

} // namespace

TEST(IniFile, SectionsAndKeysIgnoreCaseAndTheFirstOccurrenceWins)
{
    const IniFile ini = IniFile::parse(QString::fromUtf8("; station settings\r\n"
                                                         "[ColorOption]\r\n"
                                                         "  ColorStyle = 1  \r\n"
                                                         "linecolor=255\r\n"
                                                         "LINECOLOR=999\r\n"
                                                         "# a comment\n"
                                                         "[Printer]\n"
                                                         "OmronPrinter=\"tcp://10.0.0.7:9100\"\n"
                                                         "Title=前台收银 1 号\n"
                                                         "not a setting\n"
                                                         "Empty=\n"));
    EXPECT_EQ(ini.value(QStringLiteral("coloroption"), QStringLiteral("COLORSTYLE")), QStringLiteral("1"));
    EXPECT_EQ(ini.value(QStringLiteral("ColorOption"), QStringLiteral("linecolor")), QStringLiteral("255"));
    EXPECT_EQ(ini.value(QStringLiteral("printer"), QStringLiteral("omronprinter")),
              QStringLiteral("tcp://10.0.0.7:9100"));
    EXPECT_EQ(ini.value(QStringLiteral("Printer"), QStringLiteral("Title")),
              QString::fromUtf8("前台收银 1 号"));
    // A key present with an empty value is not missing.
    EXPECT_TRUE(ini.contains(QStringLiteral("Printer"), QStringLiteral("Empty")));
    EXPECT_EQ(ini.value(QStringLiteral("Printer"), QStringLiteral("Empty"), QStringLiteral("x")), QString());
    // A key of another section, or an unknown one, gives the default.
    EXPECT_EQ(ini.value(QStringLiteral("Printer"), QStringLiteral("linecolor"), QStringLiteral("d")),
              QStringLiteral("d"));
    EXPECT_FALSE(ini.contains(QStringLiteral("Printer"), QStringLiteral("not a setting")));
}

TEST_F(StationDir, ReadsUtf8AndGbkFilesWithChineseValues)
{
    const QString text = QString::fromUtf8("[Report]\nOutput=/tmp/小票.pdf\n");
    WriteFile(path(QStringLiteral("bom.ini")), QByteArray("\xEF\xBB\xBF") + text.toUtf8());
    WriteFile(path(QStringLiteral("utf8.ini")), text.toUtf8());
    // The GBK bytes of 小票 are also valid UTF-8 (of two Latin-range letters).
    WriteFile(path(QStringLiteral("gbk.ini")), ToGbk(text));
    const QString dir = station_.DirPath() + QLatin1Char('/');
    for (const char* name : {"bom.ini", "utf8.ini", "gbk.ini"})
        EXPECT_EQ(
            ReadIniValue(QLatin1String(name), QStringLiteral("REPORT"), QStringLiteral("output"), dir, {}),
            QString::fromUtf8("/tmp/小票.pdf"))
            << name;
}

TEST_F(StationDir, DirectoryIsPrefixedWithoutSeparatorElseTheStationDirectoryIsUsed)
{
    writeStation("[ColorOption]\ncolorstyle=station\n");
    WriteFile(path(QStringLiteral("till2_Quelmarpos.ini")), "[ColorOption]\ncolorstyle=prefixed\n");
    const QString file = QStringLiteral("Quelmarpos.ini");
    const QString section = QStringLiteral("ColorOption");
    const QString key = QStringLiteral("colorstyle");

    EXPECT_EQ(
        ReadIniValue(file, section, key, station_.DirPath() + QStringLiteral("/till2_"), QStringLiteral("0")),
        QStringLiteral("prefixed"));
    EXPECT_EQ(ReadIniValue(file, section, key, station_.DirPath() + QLatin1Char('/'), QStringLiteral("0")),
              QStringLiteral("station"));
    for (const QString& none : {QString(), QStringLiteral("\\"), QStringLiteral("/")})
        EXPECT_EQ(ReadIniValue(file, section, key, none, QStringLiteral("0")), QStringLiteral("station"))
            << none.toStdString();
    // No separator is inserted: the directory without its slash names
    // another file, which does not exist.
    EXPECT_EQ(ReadIniValue(file, section, key, station_.DirPath(), QStringLiteral("0")), QStringLiteral("0"));
}

TEST_F(StationDir, MissingFileSectionOrKeyGivesTheDefault)
{
    const QString file = QStringLiteral("Quelmarpos.ini");
    EXPECT_EQ(ReadIniValue(file, QStringLiteral("ColorOption"), QStringLiteral("colorstyle"), {},
                           QStringLiteral("0")),
              QStringLiteral("0"));
    writeStation("[Clock]\nSync=0\n");
    EXPECT_EQ(ReadIniValue(file, QStringLiteral("ColorOption"), QStringLiteral("colorstyle"), {},
                           QStringLiteral("0")),
              QStringLiteral("0"));
    EXPECT_EQ(ReadIniValue(file, QStringLiteral("Clock"), QStringLiteral("Offset"), {}, QStringLiteral("7")),
              QStringLiteral("7"));
}

TEST_F(StationDir, StationIniReadsTheFileAfreshAndConvertsValues)
{
    EXPECT_EQ(StationIni::path(), station_.DirPath() + QStringLiteral("/Quelmarpos.ini"));
    EXPECT_EQ(StationIni::value(QStringLiteral("CardTerminal"), QStringLiteral("Library"),
                                QStringLiteral("libsldll.so")),
              QStringLiteral("libsldll.so"));

    writeStation("[CardFrontEnd]\nPort=9000\nReadTimeout=ten\nTls=1\n[Clock]\nSync=0\n[Checkout]\n");
    bool ok = true;
    EXPECT_EQ(StationIni::intValue(QStringLiteral("cardfrontend"), QStringLiteral("port"), 8529, &ok), 9000);
    EXPECT_TRUE(ok);
    EXPECT_EQ(StationIni::intValue(QStringLiteral("CardFrontEnd"), QStringLiteral("ReadTimeout"), 10, &ok),
              10);
    EXPECT_FALSE(ok);
    EXPECT_EQ(StationIni::intValue(QStringLiteral("Checkout"), QStringLiteral("RecordPause"), 1000, &ok),
              1000);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(StationIni::boolValue(QStringLiteral("CardFrontEnd"), QStringLiteral("Tls"), false));
    EXPECT_FALSE(StationIni::boolValue(QStringLiteral("Clock"), QStringLiteral("Sync"), true));
    EXPECT_TRUE(StationIni::boolValue(QStringLiteral("Clock"), QStringLiteral("Missing"), true));

    writeStation("[Clock]\nSync=1\n");
    EXPECT_TRUE(StationIni::boolValue(QStringLiteral("Clock"), QStringLiteral("Sync"), false));
}

TEST_F(StationDir, TheSystemStationIniServesOnlyWhenTheFirstFolderHasNone)
{
    QTemporaryDir system;
    ASSERT_TRUE(system.isValid());
    const QString first = station_.DirPath() + QLatin1Char('/');
    const QString fallback = system.path() + QLatin1Char('/');
    // Neither has one: the first folder, whose defaults then apply.
    EXPECT_EQ(ChooseStationDirectory(first, fallback), first);
    WriteFile(fallback + QStringLiteral("Quelmarpos.ini"), "[Clock]\nSync=0\n");
    EXPECT_EQ(ChooseStationDirectory(first, fallback), fallback);
    // A file of another name in the first folder does not count.
    WriteFile(first + QStringLiteral("quelmarpos.ini.bak"), "[Clock]\nSync=1\n");
    EXPECT_EQ(ChooseStationDirectory(first, fallback), fallback);
    writeStation("[Clock]\nSync=1\n");
    EXPECT_EQ(ChooseStationDirectory(first, fallback), first);
}
