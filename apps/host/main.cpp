// qiantai-host: the reference store host.
//   qiantai-host [--db STORE] [--centre CENTRE] [--operator CODE] [--init-demo] [--keys FILE]
//                [STORE [CENTRE [CODE]]]
//   qiantai-host init-demo --db STORE [--centre CENTRE] [--products N]
//   qiantai-host query --db STORE [--centre CENTRE] "SQL"
//   qiantai-host check --db STORE [--centre CENTRE]
//   qiantai-host report --day YYYYMMDD --db STORE [--centre CENTRE] [--cashier CODE]
//                [--format text|csv|pdf] [--out FILE] [--cards URL] [--print] [--width 32|42|48]
// STORE and CENTRE are SQLite files or postgresql:// URLs. Anything else
// prints the usage and ends with status 2.
#include "app/hostwindow.h"
#include "app/platformnoise.h"
#include "app/querycommand.h"
#include "app/reportcommand.h"
#include "app/stationcheck.h"

#include "store/demodata.h"
#include "store/storehost.h"

#include "base/inifile.h"
#include "base/logcategories.h"
#include "keyscript/keyrobot.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QInputDialog>
#include <QRegularExpression>
#include <QTextStream>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

using namespace qiantai;
using namespace qiantai::host;

namespace {

QString DefaultCentre(const QString& store)
{
    if (store.startsWith(QLatin1String("postgres")))
        return {};
    const QFileInfo f(store);
    return f.dir().filePath(f.completeBaseName() + QStringLiteral("-centre.db"));
}

const QStringList Commands = {QStringLiteral("init-demo"), QStringLiteral("query"), QStringLiteral("check"),
                              QStringLiteral("report")};

// A first argument that names no file or URL is meant as a sub-command.
bool LooksLikeCommand(const QString& arg)
{
    static const QRegularExpression word(QStringLiteral("^[A-Za-z][A-Za-z-]*$"));
    return word.match(arg).hasMatch();
}

int Usage(const QCommandLineParser& parser, const QString& error)
{
    QTextStream err(stderr);
    err << "qiantai-host: " << error << "\n\n" << parser.helpText();
    err.flush();
    return 2;
}

bool StoreIsEmpty(StoreHost& host)
{
    QVariant v;
    bool found = false;
    QString error;
    return host.store().scalar(QStringLiteral("SELECT 1 FROM tbSysmsg"), {}, &v, &found, &error) && !found;
}

} // namespace

int main(int argc, char** argv)
{
    // The commands without a window also run on a machine without a display.
    for (int i = 1; i < argc; ++i) {
        const QByteArray a(argv[i]);
        if ((a == "query" || a == "init-demo" || a == "check" || a == "report") &&
            !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    DropPlatformNoise();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qiantai-host"));
    QApplication::setApplicationVersion(QStringLiteral(QIANTAI_VERSION));
    QTextStream out(stdout), err(stderr);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Reference store host of the front-desk sales module"));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption db(QStringLiteral("db"),
                                QStringLiteral("Store database: file or postgresql:// URL."),
                                QStringLiteral("URL"));
    const QCommandLineOption centre(QStringLiteral("centre"), QStringLiteral("Distribution centre database."),
                                    QStringLiteral("URL"));
    const QCommandLineOption op(QStringLiteral("operator"),
                                QStringLiteral("Open the sales screen for this operator (password from "
                                               "QIANTAI_PASSWORD or a prompt)."),
                                QStringLiteral("CODE"));
    const QCommandLineOption initDemo(QStringLiteral("init-demo"),
                                      QStringLiteral("Create the demo store if empty."));
    const QCommandLineOption products(QStringLiteral("products"), QStringLiteral("Generated demo products."),
                                      QStringLiteral("N"), QStringLiteral("300"));
    const QCommandLineOption fullScreen(QStringLiteral("fullscreen"), QStringLiteral("Full-screen window."));
    const QCommandLineOption keys(QStringLiteral("keys"),
                                  QStringLiteral("Type this key script into the sales screen once it opens "
                                                 "(with --operator); the program ends when the script does."),
                                  QStringLiteral("FILE"));
    const QCommandLineOption day(QStringLiteral("day"), QStringLiteral("report: the business day."),
                                 QStringLiteral("YYYYMMDD"));
    const QCommandLineOption cashier(QStringLiteral("cashier"), QStringLiteral("report: this cashier only."),
                                     QStringLiteral("CODE"));
    const QCommandLineOption format(QStringLiteral("format"), QStringLiteral("report: text, csv or pdf."),
                                    QStringLiteral("FORMAT"), QStringLiteral("text"));
    const QCommandLineOption outFile(QStringLiteral("out"), QStringLiteral("report: write to this file."),
                                     QStringLiteral("FILE"));
    const QCommandLineOption cards(QStringLiteral("cards"),
                                   QStringLiteral("report: reconcile with this card server's journal of the "
                                                  "day, e.g. http://127.0.0.1:8529."),
                                   QStringLiteral("URL"));
    const QCommandLineOption print(
        QStringLiteral("print"), QStringLiteral("report: print the text on the station's receipt printer."));
    const QCommandLineOption width(QStringLiteral("width"),
                                   QStringLiteral("report: receipt paper columns, 32, 42 or 48."),
                                   QStringLiteral("N"), QStringLiteral("42"));
    parser.addOptions({db, centre, op, initDemo, products, fullScreen, keys, day, cashier, format, outFile,
                       cards, print, width});
    parser.addPositionalArgument(
        QStringLiteral("args"),
        QStringLiteral("[init-demo | query SQL | check | report | STORE [CENTRE [CODE]]]"));
    if (!parser.parse(QCoreApplication::arguments()))
        return Usage(parser, parser.errorText());
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        out << parser.helpText();
        return 0;
    }
    if (parser.isSet(version)) {
        out << QApplication::applicationName() << ' ' << QApplication::applicationVersion() << Qt::endl;
        return 0;
    }

    QStringList positional = parser.positionalArguments();
    QString command;
    if (!positional.isEmpty() && Commands.contains(positional.first()))
        command = positional.takeFirst();
    else if (!positional.isEmpty() && LooksLikeCommand(positional.first()))
        return Usage(parser, QStringLiteral("unknown command %1").arg(positional.first()));
    QString sql;
    if (command == QLatin1String("query")) {
        if (positional.isEmpty())
            return Usage(parser, QStringLiteral("query: no SQL statement"));
        sql = positional.takeLast();
    }
    // Sub-commands take their databases as options; the window also as
    // STORE [CENTRE [CODE]].
    const int maxPositional = command.isEmpty() ? 3 : 0;
    if (positional.size() > maxPositional)
        return Usage(parser, QStringLiteral("unexpected argument %1").arg(positional.value(maxPositional)));
    QString storeUrl = parser.value(db), centreUrl = parser.value(centre), operatorCode = parser.value(op);
    if (storeUrl.isEmpty() && !positional.isEmpty())
        storeUrl = positional.takeFirst();
    if (centreUrl.isEmpty() && !positional.isEmpty())
        centreUrl = positional.takeFirst();
    if (operatorCode.isEmpty() && !positional.isEmpty())
        operatorCode = positional.takeFirst();
    if (storeUrl.isEmpty())
        return Usage(parser, QStringLiteral("no store database: give --db FILE or --db postgresql://..."));
    if (centreUrl.isEmpty())
        centreUrl = DefaultCentre(storeUrl);
    ReportOptions report;
    if (command == QLatin1String("report")) {
        report.day = parser.value(day);
        report.cashier = parser.value(cashier).trimmed();
        report.format = parser.value(format).toLower();
        report.out = parser.value(outFile);
        report.cards = parser.value(cards);
        report.print = parser.isSet(print);
        report.width = parser.value(width).toInt();
        if (const Result<> usable = CheckReportOptions(report); !usable)
            return Usage(parser, usable.error());
    }
    if (command == QLatin1String("check")) {
        StationCheckOptions options;
        options.store = storeUrl;
        options.centre = centreUrl;
        return PrintStationCheck(CheckStation(options), out);
    }

    qCInfo(qiantai::lcStartup).noquote() << "qiantai-host" << QApplication::applicationVersion()
                                         << "station INI" << qiantai::StationIni::path();
    QString error;
    StoreHost* host = StoreHost::create(storeUrl, centreUrl, nullptr, &error);
    if (!host) {
        err << error << Qt::endl;
        return 1;
    }
    struct Release {
        StoreHost* h;
        ~Release() { h->release(); }
    } release{host};

    if (command == QLatin1String("init-demo") || (parser.isSet(initDemo) && StoreIsEmpty(*host))) {
        DemoOptions options;
        options.generatedProducts = parser.value(products).toInt();
        if (!CreateDemoStore(host->context(), options, &error)) {
            err << error << Qt::endl;
            return 1;
        }
        if (command == QLatin1String("init-demo")) {
            out << "demo store created: " << storeUrl << Qt::endl;
            return 0;
        }
    }
    if (!AdvanceAccountingMonth(host->context(), &error)) {
        err << error << Qt::endl;
        return 1;
    }
    if (command == QLatin1String("query"))
        return RunQuery(*host, sql, out, err);
    if (command == QLatin1String("report"))
        return RunDayReport(*host, report, out, err);

    HostWindow window(host);
    if (!operatorCode.isEmpty()) {
        QString password = qEnvironmentVariable("QIANTAI_PASSWORD");
        if (!qEnvironmentVariableIsSet("QIANTAI_PASSWORD")) {
            bool ok = false;
            password =
                QInputDialog::getText(nullptr, QStringLiteral("登录"),
                                      QStringLiteral("操作员") + operatorCode + QStringLiteral("的密码:"),
                                      QLineEdit::Password, QString(), &ok);
            if (!ok)
                return 1;
        }
        if (const Result<> login = CheckLogin(*host, operatorCode, password); !login) {
            err << login.error() << Qt::endl;
            return 1;
        }
    }
    if (parser.isSet(fullScreen)) {
        window.showFullScreen();
    } else {
        window.resize(1024, 768);
        window.show();
    }
    // The script starts before the module opens: opening already shows the
    // sales method picker modally. The program ends with status 0 when the
    // module closes, 1 when the script fails, 3 when the script has ended
    // and the module is still open ten seconds later. The last two end the
    // process at once: the module may be inside its own modal dialogs, whose
    // flows would start new ones as each event loop is left. Nothing is
    // being written then; the store's own writes are committed transactions.
    qiantai::keyscript::KeyRobot robot;
    const auto endNow = [&](int status) {
        out.flush();
        err.flush();
        std::fflush(nullptr);
        std::_Exit(status);
    };
    QTimer stillOpen;
    stillOpen.setSingleShot(true);
    stillOpen.setInterval(10000);
    QObject::connect(&stillOpen, &QTimer::timeout, &app, [&] {
        err << "key script ended and the sales module is still open" << Qt::endl;
        endNow(3);
    });
    if (parser.isSet(keys)) {
        QFile file(parser.value(keys));
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
            err << "cannot read key script " << file.fileName() << Qt::endl;
            return 2;
        }
        QObject::connect(&robot, &qiantai::keyscript::KeyRobot::finished, &app, [&](bool ok) {
            if (ok) {
                stillOpen.start();
                return;
            }
            err << "key script: " << robot.error() << Qt::endl;
            endNow(1);
        });
        if (!robot.start(QString::fromUtf8(file.readAll()))) {
            err << "key script: " << robot.error() << Qt::endl;
            return 2;
        }
    }
    if (!operatorCode.isEmpty()) {
        if (const qiantai::Result<> opened = window.openDirectly(operatorCode); !opened) {
            err << opened.error() << Qt::endl;
            return 1;
        }
    }
    // Opening runs the first dialogs itself: the module may have closed.
    if (!operatorCode.isEmpty() && !window.moduleOpen())
        return 0;
    return app.exec();
}
