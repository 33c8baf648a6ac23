#include "stationcheck.h"

#include "moduleloader.h"

#include "store/storehost.h"

#include "base/inifile.h"
#include "base/stationkeys.h"
#include "devices/cardfrontend.h"
#include "devices/cardterminal.h"
#include "devices/printerstatus.h"
#include "hostcalls/sysparamrules.h"
#include "screens/cards/stationcardservices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace qiantai::host {

namespace {

using Level = CheckLine::Level;

// The TLS files of [CardFrontEnd] that are named but cannot be read, and a
// certificate without its key (or the other way round); empty: none.
QString UnusableTlsFiles(const CardFrontEndSettings& settings)
{
    QStringList problems;
    const struct {
        const char* key;
        QString path;
    } files[] = {{"CaFile", settings.caFile}, {"CertFile", settings.certFile}, {"KeyFile", settings.keyFile}};
    for (const auto& f : files) {
        if (f.path.isEmpty())
            continue;
        QFile file(f.path);
        if (!file.exists())
            problems << QStringLiteral("%1 %2 is missing").arg(QLatin1String(f.key), f.path);
        else if (!file.open(QIODevice::ReadOnly))
            problems << QStringLiteral("%1 %2 cannot be read").arg(QLatin1String(f.key), f.path);
    }
    if (settings.certFile.isEmpty() != settings.keyFile.isEmpty())
        problems << QStringLiteral("CertFile and KeyFile are given together or not at all");
    return problems.join(QStringLiteral("; "));
}

class Checker {
public:
    explicit Checker(StationCheckOptions options) : options_(std::move(options)) {}

    QList<CheckLine> run()
    {
        stationIni();
        module();
        printer();
        templateOutput();
        StoreHost* host = store();
        if (host) {
            parameters(*host);
            frontEnd();
            host->release();
        }
        terminal();
        fonts();
        clock();
        return lines_;
    }

private:
    void ok(const QString& what) { lines_.append({Level::Ok, what, {}}); }
    void warn(const QString& what, const QString& fix) { lines_.append({Level::Warning, what, fix}); }
    void fail(const QString& what, const QString& fix) { lines_.append({Level::Failure, what, fix}); }

    void stationIni()
    {
        iniPath_ = StationIni::path();
        bool found = false;
        const QString text = IniFile::readText(iniPath_, &found);
        if (!found) {
            warn(QStringLiteral("station INI: no %1 in %2 or %3; every setting has its default")
                     .arg(QLatin1String(StationIni::FileName),
                          QDir::toNativeSeparators(StationIni::directory()),
                          QLatin1String(StationIni::SystemDirectory)),
                 QStringLiteral("write the station's settings to %1%2")
                     .arg(QLatin1String(StationIni::SystemDirectory), QLatin1String(StationIni::FileName)));
            return;
        }
        const QList<IniProblem> problems = CheckStationIniText(text);
        for (const IniProblem& p : problems)
            fail(QStringLiteral("station INI %1 line %2: %3").arg(iniPath_).arg(p.line).arg(p.what), p.fix);
        if (problems.isEmpty())
            ok(QStringLiteral("station INI %1").arg(iniPath_));
    }

    void module()
    {
        ModuleLoader loader;
        const Result<> loaded = loader.load();
        if (loaded)
            ok(QStringLiteral("sales module %1: loaded, GetFormOne found").arg(loader.fileName()));
        else
            fail(QStringLiteral("sales module: ") + loaded.error(),
                 QStringLiteral("install the package qiantai-module, or name the file with QIANTAI_MODULE"));
    }

    void printer()
    {
        const QString device = QStringLiteral("OmronPrinter");
        const QString uri =
            StationIni::value(QStringLiteral("Printer"), device, QStringLiteral("tcp://127.0.0.1:9100"))
                .trimmed();
        const QString what = QStringLiteral("receipt printer %1 = %2").arg(device, uri);
        const PrinterTarget target = ParsePrinterTarget(uri);
        if (target.kind == PrinterTarget::Kind::Invalid) {
            fail(what + QStringLiteral(": not a printer address"),
                 QStringLiteral("set [Printer] %1 to tcp://HOST:PORT or file:PATH in %2")
                     .arg(device, iniPath_));
            return;
        }
        const PrinterStatus s = AskPrinterStatus(target, options_.timeoutMs);
        if (s.ready && (s.answered || target.kind == PrinterTarget::Kind::File)) {
            ok(what + QStringLiteral(": ") + s.text);
        } else if (s.reachable && !s.answered && target.kind == PrinterTarget::Kind::Tcp) {
            warn(what + QStringLiteral(": ") + s.text,
                 QStringLiteral(
                     "receipts may still print; turn on the printer's real-time status (DLE EOT) or "
                     "check that the address is the printer's"));
        } else if (s.reachable) {
            fail(what + QStringLiteral(": ") + s.text,
                 QStringLiteral("put paper in, close the cover and press the printer's online button"));
        } else {
            fail(what + QStringLiteral(": ") + s.text,
                 target.kind == PrinterTarget::Kind::Tcp
                     ? QStringLiteral("switch the printer on, check its network cable and address, or set "
                                      "[Printer] %1 in %2")
                           .arg(device, iniPath_)
                     : QStringLiteral("connect the printer, give this user write access (group lp), or set "
                                      "[Printer] %1 in %2")
                           .arg(device, iniPath_));
        }
    }

    void templateOutput()
    {
        const QString output =
            StationIni::value(QStringLiteral("Report"), QStringLiteral("Output"), QStringLiteral("printer"))
                .trimmed();
        const QString what = QStringLiteral("template receipts [Report] Output = %1").arg(output);
        if (output.isEmpty() || output.compare(QLatin1String("printer"), Qt::CaseInsensitive) == 0) {
            const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
            if (printer.isNull())
                fail(what + QStringLiteral(": there is no default printer"),
                     QStringLiteral("make the receipt printer the system's default printer (CUPS: lpoptions "
                                    "-d NAME), or set [Report] Output to a PDF file path in %1")
                         .arg(iniPath_));
            else
                ok(what + QStringLiteral(": default printer %1").arg(printer.printerName()));
            return;
        }
        const QFileInfo file(output);
        const QFileInfo dir(file.absolutePath());
        if ((file.exists() && file.isWritable()) || (!file.exists() && dir.isDir() && dir.isWritable()))
            ok(what + QStringLiteral(": writable"));
        else
            fail(what + QStringLiteral(": cannot be written"),
                 QStringLiteral("create the folder %1 and give this user write access, or set [Report] "
                                "Output in %2")
                     .arg(dir.absoluteFilePath(), iniPath_));
    }

    StoreHost* store()
    {
        const QString what = QStringLiteral("store database %1").arg(HidePassword(options_.store));
        const bool postgres = options_.store.startsWith(QLatin1String("postgres"));
        if (!postgres && !QFileInfo::exists(options_.store)) {
            fail(what + QStringLiteral(": no such file"),
                 QStringLiteral("give the store's database with --db, or create a demo store with "
                                "qiantai-host init-demo --db %1")
                     .arg(options_.store));
            return nullptr;
        }
        if (!options_.centre.isEmpty() && !options_.centre.startsWith(QLatin1String("postgres")) &&
            !QFileInfo::exists(options_.centre)) {
            fail(QStringLiteral("centre database %1: no such file").arg(options_.centre),
                 QStringLiteral("give the distribution centre's database with --centre"));
            return nullptr;
        }
        QString error;
        StoreHost* host = StoreHost::create(options_.store, options_.centre, nullptr, &error);
        if (!host) {
            fail(what + QStringLiteral(": ") + error,
                 postgres
                     ? QStringLiteral("check the server, the URL's user and password and that the till's "
                                      "role may use the store's tables (docs/deployment.md)")
                     : QStringLiteral("check the file and its folder are readable and writable by this "
                                      "user"));
            return nullptr;
        }
        ok(what + QStringLiteral(": open, schema up to date"));
        return host;
    }

    void parameters(StoreHost& host)
    {
        DataPacket rows;
        QString error;
        if (!host.store().query(QStringLiteral("SELECT f_Csmc, f_Csz FROM tbSysmsg"), {}, &rows, &error)) {
            fail(QStringLiteral("store parameters (tbSysmsg): ") + error,
                 QStringLiteral("load the store's parameters"));
            return;
        }
        QSet<QString> keys;
        for (int r = 0; r < rows.rowCount(); ++r) {
            const QString key = rows.value(r, 0).toString().trimmed().toLower();
            keys.insert(key);
            if (key == QLatin1String("yckqzj"))
                yckqzj_ = rows.value(r, 1).toString().trimmed();
        }
        QStringList missing;
        for (const SysParamRule& rule : SysParamRules())
            if (!rule.fallback && rule.failure && !keys.contains(QString::fromLatin1(rule.key).toLower()))
                missing.append(
                    QStringLiteral("%1 (%2)").arg(QLatin1String(rule.key), QString::fromUtf8(rule.failure)));
        missing.removeDuplicates();
        if (missing.isEmpty())
            ok(QStringLiteral("store parameters: every parameter the sales screen needs is set"));
        else
            fail(
                QStringLiteral("store parameters: %1 missing: %2")
                    .arg(missing.size())
                    .arg(missing.join(QStringLiteral(", "))),
                QStringLiteral("add them to tbSysmsg (f_Csmc, f_Csz); the sales screen does not open without "
                               "them"));
    }

    void frontEnd()
    {
        const QString what = QStringLiteral("card front-end yckqzj = %1").arg(yckqzj_);
        CardFrontEndSettings settings;
        QString error;
        if (!StationFrontEndSettings(yckqzj_, settings, error)) {
            fail(what + QStringLiteral(": ") + error,
                 QStringLiteral("set tbSysmsg yckqzj to the card server's HOST or HOST:PORT"));
            return;
        }
        const QString files = UnusableTlsFiles(settings);
        if (!files.isEmpty()) {
            fail(what + QStringLiteral(": ") + files,
                 QStringLiteral("put the store's PEM files there, readable by the till's user, or correct "
                                "[CardFrontEnd] CaFile, CertFile and KeyFile in %1")
                     .arg(iniPath_));
            if (settings.tls)
                return;
        }
        settings.connectTimeoutSeconds = std::max(1, options_.timeoutMs / 1000);
        settings.readTimeoutSeconds = settings.connectTimeoutSeconds;
        // An empty request is refused by the server without looking at any
        // card: any answer shows the server is there.
        CardFrontEndClient client(settings);
        const CardFrontEndResult r = client.queryCard({});
        const QString where = QStringLiteral("%1://%2:%3")
                                  .arg(settings.tls ? QStringLiteral("https") : QStringLiteral("http"))
                                  .arg(settings.host)
                                  .arg(settings.port);
        if (r.status == CardFrontEndStatus::ConnectionFailed)
            fail(what + QStringLiteral(": %1 does not answer: %2").arg(where, r.error),
                 QStringLiteral(
                     "start the card server (systemctl start qiantai-cardd on its machine), let the "
                     "tills reach its port, and check [CardFrontEnd] Port and Tls in %1")
                     .arg(iniPath_));
        else
            ok(what + QStringLiteral(": %1 answers").arg(where));
    }

    void terminal()
    {
        CardTerminalSettings settings;
        settings.library =
            StationIni::value(QStringLiteral("CardTerminal"), QStringLiteral("Library"), settings.library);
        const QString what = QStringLiteral("card terminal library %1").arg(settings.library);
        LibraryCardTerminal library(settings);
        QString error;
        if (library.load(&error))
            ok(what + QStringLiteral(": loaded, CardTrans found"));
        else
            fail(what + QStringLiteral(": ") + error,
                 QStringLiteral(
                     "install the terminal vendor's library (or the package qiantai-sldll-simulator "
                     "for tests), or set [CardTerminal] Library to its path in %1")
                     .arg(iniPath_));
    }

    void fonts()
    {
        const QStringList families = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
        if (families.isEmpty())
            fail(QStringLiteral("fonts: no font for Simplified Chinese"),
                 QStringLiteral("apt-get install fonts-wqy-microhei (or fonts-noto-cjk)"));
        else
            ok(QStringLiteral("fonts: %1 for Simplified Chinese").arg(families.first()));
    }

    void clock()
    {
        const bool sync = StationIni::boolValue(QStringLiteral("Clock"), QStringLiteral("Sync"), true);
        if (!sync) {
            ok(QStringLiteral("clock: [Clock] Sync = 0, the system keeps the time (NTP)"));
            return;
        }
        if (MaySetClock())
            ok(QStringLiteral("clock: [Clock] Sync = 1, set from the database server at start-up"));
        else
            warn(
                QStringLiteral("clock: [Clock] Sync = 1, but this user may not set the clock; it stays as it "
                               "is"),
                QStringLiteral("set [Clock] Sync=0 in %1 and keep the time with NTP (systemd-timesyncd), or "
                               "give qiantai-host the capability CAP_SYS_TIME")
                    .arg(iniPath_));
    }

    // Whether the process holds CAP_SYS_TIME (bit 25 of CapEff).
    static bool MaySetClock()
    {
        QFile status(QStringLiteral("/proc/self/status"));
        if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
            return false;
        while (!status.atEnd()) {
            const QByteArray line = status.readLine();
            if (line.startsWith("CapEff:")) {
                bool parsed = false;
                const qulonglong caps = line.mid(7).trimmed().toULongLong(&parsed, 16);
                return parsed && (caps & (1ULL << 25)) != 0;
            }
        }
        return false;
    }

    // A postgresql:// URL without its password.
    static QString HidePassword(const QString& location)
    {
        QString shown = location;
        shown.replace(QRegularExpression(QStringLiteral("(://[^:/@]*:)[^@]*@")), QStringLiteral("\\1***@"));
        return shown;
    }

    StationCheckOptions options_;
    QString iniPath_;
    QString yckqzj_;
    QList<CheckLine> lines_;
};

} // namespace

QList<CheckLine> CheckStation(const StationCheckOptions& options)
{
    return Checker(options).run();
}

int PrintStationCheck(const QList<CheckLine>& lines, QTextStream& out)
{
    int failures = 0;
    for (const CheckLine& line : lines) {
        switch (line.level) {
        case Level::Ok:
            out << "ok    ";
            break;
        case Level::Warning:
            out << "warn  ";
            break;
        case Level::Failure:
            out << "FAIL  ";
            ++failures;
            break;
        }
        out << line.what << '\n';
        if (!line.fix.isEmpty())
            out << "      fix: " << line.fix << '\n';
    }
    if (failures == 0)
        out << "the till can sell" << Qt::endl;
    else
        out << "the till cannot sell: " << failures << (failures == 1 ? " failure" : " failures") << Qt::endl;
    return failures == 0 ? 0 : 1;
}

} // namespace qiantai::host
