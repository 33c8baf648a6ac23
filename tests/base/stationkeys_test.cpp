#include "base/stationkeys.h"

#include <gtest/gtest.h>

using namespace qiantai;

namespace {

struct LintCase {
    const char* name;
    const char* text;
    QList<int> lines;    // the lines reported, in order
    const char* snippet; // part of the first report's text
};

} // namespace

TEST(StationKeys, ReportsEveryLineThatIsNotAKnownSetting)
{
    const LintCase cases[] = {
        {"a full station",
         "; till 1\n[ColorOption]\nColorStyle=1\n[Printer]\nOmronPrinter=tcp://10.0.0.7\n"
         "BackOffice=file:/dev/usb/lp1\nencoding=GBK\n[report]\nOUTPUT=printer\npaperwidth=58\n"
         "[CardTerminal]\nLibrary=libsldll.so\n[CardFrontEnd]\nPort=1\nConnectTimeout=2\n"
         "ReadTimeout=3\nTls=1\nCaFile=ca.pem\nTillKey=k\nCertFile=till.pem\nKeyFile=till.key\n[Clock]\nSync="
         "0\n"
         "[Checkout]\nRecordPause=0\n",
         {},
         ""},
        {"a misspelt key", "[Clock]\nSynch=0\n[Report]\nOutput=x.pdf\n", {2}, "unknown key Synch in [Clock]"},
        {"a key of another section", "[Clock]\nRecordPause=0\n", {2}, "unknown key RecordPause in [Clock]"},
        {"an unknown section is reported once",
         "[Printers]\nA=1\nB=2\n[Clock]\nSync=1\n",
         {1},
         "unknown section [Printers]"},
        {"a line without '='", "[Clock]\r\nSync 0\r\n", {2}, "not a setting"},
        {"a key before any section", "Sync=0\n[Clock]\n", {1}, "outside any section"},
        {"a broken heading", "[Clock\nSync=0\n", {1}, "not a section line"},
        {"several faults in order",
         "[Clock]\nSync=1\nOffset=2\n[Checkout]\nPause=1\n=3\n",
         {3, 5, 6},
         "unknown key Offset"},
    };
    for (const LintCase& c : cases) {
        const QList<IniProblem> problems = CheckStationIniText(QString::fromUtf8(c.text));
        QList<int> lines;
        for (const IniProblem& p : problems)
            lines.append(p.line);
        EXPECT_EQ(lines, c.lines) << c.name;
        if (!problems.isEmpty()) {
            EXPECT_TRUE(problems.first().what.contains(QLatin1String(c.snippet)))
                << c.name << ": " << problems.first().what.toStdString();
        }
    }
}
