// qiantai-cardd: the card front-end server.
#include "cardserver.h"
#include "cardservice.h"
#include "cardstore.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

#include <csignal>
#include <cstdio>
#include <pthread.h>
#include <thread>

using namespace qiantai::cardd;
using qiantai::Result;

namespace {

// A whole number option from `low` up; false (with the reason printed) when
// it is not one.
bool NumberOption(const QCommandLineParser& parser, const QCommandLineOption& option, int low, int* out)
{
    bool ok = false;
    const int value = parser.value(option).toInt(&ok);
    if (!ok || value < low) {
        std::fprintf(stderr, "qiantai-cardd: --%s wants a whole number from %d\n",
                     qPrintable(option.names().first()), low);
        return false;
    }
    *out = value;
    return true;
}

// The PostgreSQL password: never on the command line (where every user of
// the machine can read it), but from a file or the environment.
bool DatabasePassword(const QCommandLineParser& parser, const QCommandLineOption& file,
                      StoreLocation* location)
{
    if (location->driver != QLatin1String("QPSQL"))
        return true;
    if (!location->password.isEmpty()) {
        std::fprintf(stderr, "qiantai-cardd: put the database password in --db-password-file or "
                             "QIANTAI_CARDD_DB_PASSWORD, not in the URL\n");
        return false;
    }
    if (parser.isSet(file)) {
        QFile f(parser.value(file));
        if (!f.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "qiantai-cardd: cannot read %s\n", qPrintable(f.fileName()));
            return false;
        }
        location->password = QString::fromUtf8(f.readLine()).trimmed();
        return true;
    }
    location->password = qEnvironmentVariable("QIANTAI_CARDD_DB_PASSWORD");
    return true;
}

// Unsigned limits of the HTTP layer, each from `low` up.
bool LimitOption(const QCommandLineParser& parser, const QCommandLineOption& option, int low, unsigned* out)
{
    int value = 0;
    if (!NumberOption(parser, option, low, &value))
        return false;
    *out = unsigned(value);
    return true;
}

int Usage(const QCommandLineParser& parser, const QString& error)
{
    QTextStream err(stderr);
    err << "qiantai-cardd: " << error << "\n\n" << parser.helpText();
    err.flush();
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    // Under systemd each line starts with its syslog priority, which the
    // journal keeps as the entry's priority.
    if (qEnvironmentVariableIsSet("JOURNAL_STREAM"))
        qSetMessagePattern(
            QStringLiteral("<%{if-debug}7%{endif}%{if-info}6%{endif}%{if-warning}4%{endif}"
                           "%{if-critical}3%{endif}%{if-fatal}2%{endif}>%{category}: %{message}"));
    else
        qSetMessagePattern(QStringLiteral("%{time yyyy-MM-dd hh:mm:ss.zzz} %{category}: %{message}"));
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qiantai-cardd"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QIANTAI_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Card front-end: member cards and welfare certificates over "
                       "JSON-RPC 2.0 (POST /rpc)."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption listen(QStringLiteral("listen"), QStringLiteral("Address to listen on."),
                                    QStringLiteral("address"), QStringLiteral("127.0.0.1"));
    const QCommandLineOption port(QStringLiteral("port"),
                                  QStringLiteral("Port to listen on (0: any free port)."),
                                  QStringLiteral("port"), QStringLiteral("8529"));
    const QCommandLineOption db(QStringLiteral("db"),
                                QStringLiteral("SQLite file (created readable by its owner only), or "
                                               "postgresql://user@host:port/database."),
                                QStringLiteral("database"), QStringLiteral("qiantai-cardd.sqlite"));
    const QCommandLineOption passwordFile(
        QStringLiteral("db-password-file"),
        QStringLiteral("File whose first line is the PostgreSQL password (else QIANTAI_CARDD_DB_PASSWORD, "
                       "else libpq's own: PGPASSWORD, ~/.pgpass)."),
        QStringLiteral("file"));
    const QCommandLineOption wait(
        QStringLiteral("db-wait-ms"),
        QStringLiteral("Longest wait for a database lock or statement; keep it well below the tills' "
                       "ReadTimeout."),
        QStringLiteral("ms"), QStringLiteral("2000"));
    const QCommandLineOption demo(
        QStringLiteral("init-demo"),
        QStringLiteral("Create (or reset) the demo cards and certificates, then exit; refused on a database "
                       "that has journalled charges unless --reset-all is given too."));
    const QCommandLineOption resetAll(
        QStringLiteral("reset-all"),
        QStringLiteral("With --init-demo: delete every card, certificate and journal row first."));
    const QCommandLineOption lockAttempts(QStringLiteral("lock-attempts"),
                                          QStringLiteral("Wrong passwords that lock a member card."),
                                          QStringLiteral("n"), QStringLiteral("5"));
    const QCommandLineOption lockMinutes(QStringLiteral("lock-minutes"),
                                         QStringLiteral("How long a locked member card stays locked."),
                                         QStringLiteral("minutes"), QStringLiteral("15"));
    const QCommandLineOption queryRate(
        QStringLiteral("queries-per-minute"),
        QStringLiteral("Card and certificate queries one till may make per minute (0: no limit)."),
        QStringLiteral("n"), QStringLiteral("30"));
    const QCommandLineOption tokenSeconds(
        QStringLiteral("token-seconds"),
        QStringLiteral("How long a query's proof of the password stays good for a charge."),
        QStringLiteral("seconds"), QStringLiteral("300"));
    const QCommandLineOption cert(QStringLiteral("tls-cert"), QStringLiteral("PEM certificate: serve HTTPS."),
                                  QStringLiteral("file"));
    const QCommandLineOption tills(
        QStringLiteral("till-keys"),
        QStringLiteral("File of \"till-name key\" lines: serve only tills that send one of the keys "
                       "([CardFrontEnd] TillKey); the journal records the till's name."),
        QStringLiteral("file"));
    const QCommandLineOption key(QStringLiteral("tls-key"), QStringLiteral("PEM private key of --tls-cert."),
                                 QStringLiteral("file"));
    const QCommandLineOption clientCa(
        QStringLiteral("tls-client-ca"),
        QStringLiteral(
            "PEM certificate of the authority that signs the tills' certificates: serve only tills "
            "that present one ([CardFrontEnd] CertFile, KeyFile); the journal records its common "
            "name. Instead of --till-keys; needs --tls-cert."),
        QStringLiteral("file"));
    const ServerLimits defaults;
    // A limit's option, its default shown in --help.
    const auto limit = [](const char* name, const char* text, const char* value, auto fallback) {
        return QCommandLineOption(
            QString::fromLatin1(name),
            QStringLiteral("%1 Default: %2.").arg(QString::fromUtf8(text)).arg(fallback),
            QString::fromLatin1(value), QString::number(fallback));
    };
    const QCommandLineOption bodyLimit =
        limit("max-body-bytes",
              "Largest request body; a larger one is refused (HTTP 413, or a chunked one cut off).", "bytes",
              defaults.bodyBytes);
    const QCommandLineOption connections = limit(
        "max-connections", "Connections open at once, all clients together.", "n", defaults.connections);
    const QCommandLineOption perClient =
        limit("max-connections-per-client",
              "Connections open at once from one address (0: no limit); more are closed at once.", "n",
              defaults.connectionsPerClient);
    const QCommandLineOption idle =
        limit("idle-seconds", "A connection that sends or reads nothing this long is closed.", "seconds",
              defaults.idleSeconds);
    const QCommandLineOption requestTime =
        limit("request-seconds",
              "Longest time from opening a connection to the end of its request; also the longest wait for "
              "requests under way when stopping.",
              "seconds", defaults.requestSeconds);
    const QCommandLineOption threads =
        limit("threads", "Threads that serve requests.", "n", defaults.threads);
    const QCommandLineOption connectionMemory = limit(
        "connection-memory-bytes", "Memory per connection for the request head; a larger head is refused.",
        "bytes", defaults.connectionMemory);
    parser.addOptions({listen,   port,         db,          passwordFile,    wait,         demo,
                       resetAll, lockAttempts, lockMinutes, queryRate,       tokenSeconds, tills,
                       cert,     key,          clientCa,    bodyLimit,       connections,  perClient,
                       idle,     requestTime,  threads,     connectionMemory});
    if (!parser.parse(QCoreApplication::arguments()))
        return Usage(parser, parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return Usage(parser, QStringLiteral("unexpected argument ") + parser.positionalArguments().first());
    if (parser.isSet(help)) {
        std::printf("%s", qPrintable(parser.helpText()));
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("qiantai-cardd %s\n", QIANTAI_VERSION);
        return 0;
    }

    Result<StoreLocation> parsed = ParseStoreLocation(parser.value(db));
    if (!parsed) {
        std::fprintf(stderr, "qiantai-cardd: %s\n", qPrintable(parsed.error()));
        return 2;
    }
    StoreLocation location = std::move(parsed).value();
    ServiceSettings settings;
    if (!DatabasePassword(parser, passwordFile, &location) ||
        !NumberOption(parser, wait, 1, &location.waitMs) ||
        !NumberOption(parser, lockAttempts, 1, &settings.lock.attempts) ||
        !NumberOption(parser, lockMinutes, 0, &settings.lock.minutes) ||
        !NumberOption(parser, queryRate, 0, &settings.queriesPerMinute) ||
        !NumberOption(parser, tokenSeconds, 1, &settings.tokenSeconds))
        return 2;
    ServerLimits limits;
    unsigned bodyBytes = 0, memoryBytes = 0;
    if (!LimitOption(parser, bodyLimit, 1, &bodyBytes) ||
        !LimitOption(parser, connections, 1, &limits.connections) ||
        !LimitOption(parser, perClient, 0, &limits.connectionsPerClient) ||
        !LimitOption(parser, idle, 1, &limits.idleSeconds) ||
        !LimitOption(parser, requestTime, 1, &limits.requestSeconds) ||
        !LimitOption(parser, threads, 1, &limits.threads) ||
        !LimitOption(parser, connectionMemory, 4096, &memoryBytes))
        return 2;
    limits.bodyBytes = bodyBytes;
    limits.connectionMemory = memoryBytes;
    if (parser.isSet(tills) && parser.isSet(clientCa))
        return Usage(parser, QStringLiteral("give --till-keys or --tls-client-ca, not both"));
    CardStore store(location);
    if (const Result<> ready = store.initialise(); !ready) {
        std::fprintf(stderr, "qiantai-cardd: database: %s\n", qPrintable(ready.error()));
        return 1;
    }
    if (parser.isSet(demo)) {
        const Result<bool> journalled = store.hasJournal();
        if (!journalled) {
            std::fprintf(stderr, "qiantai-cardd: database: %s\n", qPrintable(journalled.error()));
            return 1;
        }
        if (journalled.value() && !parser.isSet(resetAll)) {
            std::fprintf(stderr,
                         "qiantai-cardd: the database has journalled charges; --init-demo would reset "
                         "balances under them. Add --reset-all to delete everything first.\n");
            return 1;
        }
        if (parser.isSet(resetAll)) {
            if (const Result<> erased = store.eraseAll(); !erased) {
                std::fprintf(stderr, "qiantai-cardd: database: %s\n", qPrintable(erased.error()));
                return 1;
            }
        }
        if (const Result<> put = store.putDemoData(HashCost::Interactive); !put) {
            std::fprintf(stderr, "qiantai-cardd: demo data: %s\n", qPrintable(put.error()));
            return 1;
        }
        std::printf("demo cards and certificates written\n");
        return 0;
    }

    bool portOk = false;
    const int portNumber = parser.value(port).toInt(&portOk);
    if (!portOk || portNumber < 0 || portNumber > 65535) {
        std::fprintf(stderr, "qiantai-cardd: bad port %s\n", qPrintable(parser.value(port)));
        return 2;
    }

    // Signals are taken by one thread, which stops the server.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    CardService service(store, settings);
    CardServer server(CardMethods(service), limits);
    if (parser.isSet(tills)) {
        TillKeys keys;
        if (const Result<> loaded = keys.load(parser.value(tills)); !loaded) {
            std::fprintf(stderr, "qiantai-cardd: %s\n", qPrintable(loaded.error()));
            return 2;
        }
        server.setTillKeys(std::move(keys));
    }
    std::string bindError;
    const ServerTls tls{parser.value(cert).toStdString(), parser.value(key).toStdString(),
                        parser.value(clientCa).toStdString()};
    if (!server.bind(parser.value(listen).toStdString(), portNumber, tls, &bindError)) {
        std::fprintf(stderr, "qiantai-cardd: %s\n", bindError.c_str());
        return 1;
    }
    std::printf("qiantai-cardd listening on %s:%d\n", qPrintable(parser.value(listen)), server.port());
    std::fflush(stdout);

    std::thread waiter([&server, stopSignals] {
        int received = 0;
        sigwait(&stopSignals, &received);
        server.stop();
    });
    server.run();
    // run() may also end on its own (listen failure): wake the waiter.
    pthread_kill(waiter.native_handle(), SIGTERM);
    waiter.join();
    return 0;
}
