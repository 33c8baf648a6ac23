// qiantai-host's command line and its station check, run as a till's IT
// person runs them, against the demo store.
#include "e2estore.h"
#include "loopbackreceiver.h"
#include "salekeys.h"
#include "statusprinter.h"

#include <QDate>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringDecoder>

#include <gtest/gtest.h>

#include <functional>

using namespace qiantai::test;

namespace {

class StationEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(store_.Ok()) << store_.Error().toStdString();
        ASSERT_TRUE(store_.StartCardServer()) << store_.Error().toStdString();
        store_.SetIni(QStringLiteral("Printer"), QStringLiteral("OmronPrinter"),
                      QStringLiteral("tcp://127.0.0.1:%1").arg(printer_.port()));
    }

    // qiantai-host ARGS with the station INI of `store`.
    static HostRun Host(E2EStore& store, const QStringList& args)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("QIANTAI_INI_DIR"), store.Path(QString()));
        env.insert(QStringLiteral("QIANTAI_PASSWORD"), QStringLiteral("0001"));
        // As under su, cron or a service: Qt falls back to a folder of its own.
        env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(E2EStore::Program(QStringLiteral("qiantai-host")), args);
        HostRun run;
        if (p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit)
            run.status = p.exitCode();
        else
            p.kill();
        p.waitForFinished();
        run.output = QString::fromUtf8(p.readAll());
        return run;
    }

    static HostRun Check(E2EStore& store)
    {
        return Host(store, {QStringLiteral("check"), QStringLiteral("--db"), store.StoreFile(),
                            QStringLiteral("--centre"), store.Path(QStringLiteral("centre.db"))});
    }

    // The check's lines that begin with `level`.
    static QStringList Lines(const HostRun& run, const QString& level)
    {
        QStringList found;
        for (const QString& line : run.output.split(QLatin1Char('\n')))
            if (line.startsWith(level))
                found.append(line);
        return found;
    }

    E2EStore store_;
    StatusPrinter printer_{{{1, 0x12}, {4, 0x12}}};
};

} // namespace

TEST_F(StationEndToEnd, TheDemoTillCanSell)
{
    const HostRun run = Check(store_);
    EXPECT_EQ(run.status, 0) << run.output.toStdString();
    EXPECT_TRUE(Lines(run, QStringLiteral("FAIL")).isEmpty()) << run.output.toStdString();
    for (const char* part : {"station INI", "sales module", "receipt printer OmronPrinter",
                             "template receipts", "store database", "store parameters", "card front-end",
                             "card terminal library", "fonts", "clock"}) {
        bool seen = false;
        for (const QString& line : Lines(run, QStringLiteral("ok ")))
            seen = seen || line.contains(QLatin1String(part));
        EXPECT_TRUE(seen) << part << "\n" << run.output.toStdString();
    }
    EXPECT_TRUE(run.output.trimmed().endsWith(QLatin1String("the till can sell")))
        << run.output.toStdString();
}

TEST_F(StationEndToEnd, EachBrokenPartIsOneFailureWithItsFix)
{
    const QString printer = QStringLiteral("tcp://127.0.0.1:%1").arg(printer_.port());
    const QString frontEnd =
        store_.Query(QStringLiteral("SELECT f_Csz FROM tbSysmsg WHERE lower(f_Csmc) = 'yckqzj'"))
            .value(0)
            .value(0);
    const QString setFrontEnd =
        QStringLiteral("UPDATE tbSysmsg SET f_Csz = '%1' WHERE lower(f_Csmc) = 'yckqzj'");
    const QList<QStringList> hyklwms =
        store_.Query(QStringLiteral("SELECT f_Csmc, f_Csz FROM tbSysmsg WHERE lower(f_Csmc) = 'hyklwms'"));
    ASSERT_EQ(hyklwms.size(), 1);
    // Each case breaks one part of the demo station and mends it again; the
    // INI key comes last as the INI cannot lose a key.
    const struct {
        const char* name;
        std::function<void()> breakIt, mend;
        const char* failure; // part of the one FAIL line
        const char* fix;     // part of its fix
    } cases[] = {
        {"no printer",
         [&] {
             store_.SetIni(QStringLiteral("Printer"), QStringLiteral("OmronPrinter"),
                           QStringLiteral("tcp://127.0.0.1:%1").arg(ClosedLoopbackPort()));
         },
         [&] { store_.SetIni(QStringLiteral("Printer"), QStringLiteral("OmronPrinter"), printer); },
         "receipt printer OmronPrinter", "switch the printer on"},
        {"an unreachable card server",
         [&] { store_.Exec(setFrontEnd.arg(QStringLiteral("127.0.0.1:%1").arg(ClosedLoopbackPort()))); },
         [&] { store_.Exec(setFrontEnd.arg(frontEnd)); }, "card front-end yckqzj", "start the card server"},
        {"a missing till certificate",
         [&] {
             store_.SetIni(QStringLiteral("CardFrontEnd"), QStringLiteral("CertFile"),
                           store_.Path(QStringLiteral("no-such-till.pem")));
             store_.SetIni(QStringLiteral("CardFrontEnd"), QStringLiteral("KeyFile"), store_.StoreFile());
         },
         [&] {
             store_.SetIni(QStringLiteral("CardFrontEnd"), QStringLiteral("CertFile"), QString());
             store_.SetIni(QStringLiteral("CardFrontEnd"), QStringLiteral("KeyFile"), QString());
         },
         "no-such-till.pem is missing", "[CardFrontEnd] CaFile, CertFile and KeyFile"},
        {"a missing terminal library",
         [&] {
             store_.SetIni(QStringLiteral("CardTerminal"), QStringLiteral("Library"),
                           store_.Path(QStringLiteral("no-such-libsldll.so")));
         },
         [&] {
             store_.SetIni(QStringLiteral("CardTerminal"), QStringLiteral("Library"),
                           E2EStore::Library(QStringLiteral("libsldll.so")));
         },
         "card terminal library", "[CardTerminal] Library"},
        {"a missing store parameter",
         [&] { store_.Exec(QStringLiteral("DELETE FROM tbSysmsg WHERE lower(f_Csmc) = 'hyklwms'")); },
         [&] {
             store_.Exec(QStringLiteral("INSERT INTO tbSysmsg (f_Csmc, f_Csz) VALUES ('%1', '%2')")
                             .arg(hyklwms[0][0], hyklwms[0][1]));
         },
         "store parameters: 1 missing: hyklwms", "add them to tbSysmsg"},
        {"a wrong INI key",
         [&] { store_.SetIni(QStringLiteral("Clock"), QStringLiteral("Synch"), QStringLiteral("0")); }, [] {},
         "unknown key Synch in [Clock]", "the keys of [Clock] are Sync"},
    };
    for (const auto& c : cases) {
        c.breakIt();
        const HostRun run = Check(store_);
        c.mend();
        EXPECT_EQ(run.status, 1) << c.name << "\n" << run.output.toStdString();
        const QStringList failures = Lines(run, QStringLiteral("FAIL"));
        ASSERT_EQ(failures.size(), 1) << c.name << "\n" << run.output.toStdString();
        EXPECT_TRUE(failures.first().contains(QLatin1String(c.failure))) << c.name << "\n"
                                                                         << run.output.toStdString();
        const int at = int(run.output.indexOf(failures.first()));
        EXPECT_TRUE(run.output.mid(at).section(QLatin1Char('\n'), 1, 1).contains(QLatin1String(c.fix)))
            << c.name << "\n"
            << run.output.toStdString();
        EXPECT_TRUE(run.output.contains(QLatin1String("the till cannot sell: 1 failure"))) << c.name;
    }
}

TEST_F(StationEndToEnd, TheDayReportPrintsInGbkOnTheReceiptPrinterAndAsPdf)
{
    LoopbackReceiver paper(LoopbackReceiver::Status{});
    store_.SetIni(QStringLiteral("Printer"), QStringLiteral("OmronPrinter"),
                  QStringLiteral("tcp://127.0.0.1:%1").arg(paper.port()));
    const QStringList report = {QStringLiteral("report"),
                                QStringLiteral("--day"),
                                QDate::currentDate().toString(QStringLiteral("yyyyMMdd")),
                                QStringLiteral("--db"),
                                store_.StoreFile(),
                                QStringLiteral("--width"),
                                QStringLiteral("32")};
    const HostRun shown = Host(store_, report);
    ASSERT_EQ(shown.status, 0) << shown.output.toStdString();
    EXPECT_TRUE(shown.output.contains(QStringLiteral("当日没有销售单据"))) << shown.output.toStdString();
    const HostRun printed = Host(store_, report + QStringList{QStringLiteral("--print")});
    ASSERT_EQ(printed.status, 0) << printed.output.toStdString();

    // ESC @, FS &, the text in GBK with four feeds, GS V 0.
    const QByteArray bytes = paper.bytes();
    ASSERT_TRUE(bytes.startsWith(QByteArray("\x1b\x40\x1c\x26", 4))) << bytes.toHex().toStdString();
    ASSERT_TRUE(bytes.endsWith(QByteArray("\x1d\x56\x00", 3))) << bytes.toHex().toStdString();
    const QByteArray text = bytes.mid(4, bytes.size() - 7);
    for (const QByteArray& line : text.split('\n'))
        EXPECT_LE(line.size(), 32) << line.toStdString();
    QStringDecoder gbk("GBK");
    EXPECT_EQ(QString(gbk(text)), shown.output + QStringLiteral("\n\n\n\n"));

    const QString pdf = store_.Path(QStringLiteral("day.pdf"));
    const HostRun written =
        Host(store_, report + QStringList{QStringLiteral("--format"), QStringLiteral("pdf"),
                                          QStringLiteral("--out"), pdf});
    ASSERT_EQ(written.status, 0) << written.output.toStdString();
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5) == "%PDF-");
}

TEST_F(StationEndToEnd, TheDayReportSaysWhatIsBrokenAndStillShowsTheDay)
{
    const QStringList report = {QStringLiteral("report"), QStringLiteral("--day"),
                                QDate::currentDate().toString(QStringLiteral("yyyyMMdd")),
                                QStringLiteral("--db"), store_.StoreFile()};
    const QString closed = QString::number(ClosedLoopbackPort());
    const struct {
        const char* name;
        std::function<void()> breakIt;
        QStringList args;
        int status;
        const char* says;
    } cases[] = {
        {"the demo station", [] {}, {QStringLiteral("--print")}, 0, "收银员日报"},
        // Parts the report does not use.
        {"a wrong INI key",
         [&] { store_.SetIni(QStringLiteral("Clock"), QStringLiteral("Synch"), QStringLiteral("0")); },
         {QStringLiteral("--print")},
         0,
         "收银员日报"},
        {"a missing terminal library",
         [&] {
             store_.SetIni(QStringLiteral("CardTerminal"), QStringLiteral("Library"),
                           store_.Path(QStringLiteral("no-such-libsldll.so")));
         },
         {QStringLiteral("--print")},
         0,
         "收银员日报"},
        {"no printer",
         [&] {
             store_.SetIni(QStringLiteral("Printer"), QStringLiteral("OmronPrinter"),
                           QStringLiteral("tcp://127.0.0.1:") + closed);
         },
         {QStringLiteral("--print")},
         1,
         "小票打印机OmronPrinter(tcp://127.0.0.1:"},
        {"an unreachable card server",
         [] {},
         {QStringLiteral("--cards"), QStringLiteral("http://127.0.0.1:") + closed},
         1,
         "的流水取不到"},
        {"a card server address that is none",
         [] {},
         {QStringLiteral("--cards"), QStringLiteral("127.0.0.1")},
         1,
         "not an http:// or https:// address"},
    };
    for (const auto& c : cases) {
        c.breakIt();
        const HostRun run = Host(store_, report + c.args);
        EXPECT_EQ(run.status, c.status) << c.name << "\n" << run.output.toStdString();
        EXPECT_TRUE(run.output.contains(QString::fromUtf8(c.says))) << c.name << "\n"
                                                                    << run.output.toStdString();
        EXPECT_TRUE(run.output.contains(QStringLiteral("当日没有销售单据"))) << c.name << "\n"
                                                                             << run.output.toStdString();
    }
}

TEST_F(StationEndToEnd, TheCommandLineRefusesWhatItDoesNotKnow)
{
    const QString db = store_.StoreFile();
    const struct {
        QStringList args;
        int status;
        const char* says;
    } cases[] = {
        {{QStringLiteral("chek"), QStringLiteral("--db"), db}, 2, "unknown command chek"},
        {{QStringLiteral("check"), QStringLiteral("--db"), db, QStringLiteral("--bogus")},
         2,
         "Unknown option 'bogus'"},
        {{QStringLiteral("check"), QStringLiteral("--db"), db, QStringLiteral("extra")},
         2,
         "unexpected argument extra"},
        {{QStringLiteral("query"), QStringLiteral("--db"), db}, 2, "query: no SQL statement"},
        {{QStringLiteral("check")}, 2, "no store database"},
        {{QStringLiteral("report"), QStringLiteral("--db"), db}, 2, "report: no --day YYYYMMDD"},
        {{QStringLiteral("report"), QStringLiteral("--db"), db, QStringLiteral("--day"),
          QStringLiteral("20240631")},
         2,
         "report: --day 20240631 is not a date YYYYMMDD"},
        {{QStringLiteral("report"), QStringLiteral("--db"), db, QStringLiteral("--day"),
          QStringLiteral("20240615"), QStringLiteral("--format"), QStringLiteral("xml")},
         2,
         "report: --format xml: text, csv or pdf"},
        {{QStringLiteral("report"), QStringLiteral("--db"), db, QStringLiteral("--day"),
          QStringLiteral("20240615"), QStringLiteral("--width"), QStringLiteral("40")},
         2,
         "report: --width must be 32, 42 or 48"},
        {{QStringLiteral("report"), QStringLiteral("--db"), db, QStringLiteral("--day"),
          QStringLiteral("20240615"), QStringLiteral("--cashier"), QStringLiteral("9999")},
         1,
         "收银员9999不存在"},
        {{QStringLiteral("--help")}, 0, "init-demo | query SQL | check | report"},
        {{QStringLiteral("--version")}, 0, "qiantai-host "},
    };
    for (const auto& c : cases) {
        const HostRun run = Host(store_, c.args);
        const std::string args = c.args.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(run.status, c.status) << args << "\n" << run.output.toStdString();
        EXPECT_TRUE(run.output.contains(QString::fromUtf8(c.says))) << args << "\n"
                                                                    << run.output.toStdString();
        if (c.status == 2) {
            EXPECT_TRUE(run.output.contains(QLatin1String("Usage:"))) << args;
        }
    }
}

TEST_F(StationEndToEnd, ScriptedAndOffscreenRunsPrintNoQtPlatformNoise)
{
    QFile keys(store_.Path(QStringLiteral("open-and-leave.txt")));
    ASSERT_TRUE(keys.open(QIODevice::WriteOnly));
    keys.write((BeginSale() + DeleteAllAndLeave()).toUtf8());
    keys.close();
    const HostRun runs[] = {
        Host(store_, {QStringLiteral("--db"), store_.StoreFile(), QStringLiteral("--centre"),
                      store_.Path(QStringLiteral("centre.db")), QStringLiteral("--operator"),
                      QStringLiteral("0001"), QStringLiteral("--keys"), keys.fileName()}),
        Host(store_, {QStringLiteral("query"), QStringLiteral("--db"), store_.StoreFile(),
                      QStringLiteral("Select 1")}),
    };
    for (const HostRun& run : runs) {
        EXPECT_EQ(run.status, 0) << run.output.toStdString();
        EXPECT_FALSE(run.output.contains(QLatin1String("XDG_RUNTIME_DIR"))) << run.output.toStdString();
        EXPECT_FALSE(run.output.contains(QLatin1String("This plugin does not support")))
            << run.output.toStdString();
    }
}
