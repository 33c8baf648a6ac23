#include "e2estore.h"

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTextStream>
#include <QUuid>

#include <gtest/gtest.h>

namespace qiantai::test {

namespace {

QString BuildDir()
{
    return qEnvironmentVariable("QIANTAI_BUILD_DIR");
}

// Runs a program to its end; false with the output in `error`.
bool RunToEnd(const QString& program, const QStringList& args, QString& error, int timeoutMs = 60000)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(timeoutMs) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        p.kill();
        p.waitForFinished();
        error = program + QLatin1Char(' ') + args.join(QLatin1Char(' ')) + QStringLiteral(": ") +
                QString::fromUtf8(p.readAll());
        return false;
    }
    return true;
}

// The programs log everything, and each test program keeps what they wrote
// in the file named by QIANTAI_E2E_LOG (emptied when the program starts),
// for the test that reads the logs for card data and passwords.
const QString LogRules = QStringLiteral("qiantai.*=true");

void KeepLog(const QString& text)
{
    static bool started = false;
    const QString path = qEnvironmentVariable("QIANTAI_E2E_LOG");
    if (path.isEmpty())
        return;
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | (started ? QIODevice::Append : QIODevice::Truncate)))
        f.write(text.toUtf8());
    started = true;
}

} // namespace

ScreenDump ScreenDump::Read(const QString& path)
{
    ScreenDump d;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return d;
    const QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        QStringList fields = line.split(QLatin1Char('\t'));
        if (fields.size() < 3)
            continue;
        const QString kind = fields.takeFirst();
        const QString name = fields.takeFirst();
        if (kind == QLatin1String("label")) {
            d.labels_[name] = fields.join(QLatin1Char('\t'));
            d.allLabels_[name].append(d.labels_[name]);
        } else if (kind == QLatin1String("edit"))
            d.edits_[name] = fields.join(QLatin1Char('\t'));
        else if (kind == QLatin1String("row") && !fields.isEmpty()) {
            const int row = fields.takeFirst().toInt();
            QList<QStringList>& rows = d.rows_[name];
            if (row == 0)
                rows.clear(); // a later view of the same name replaces it
            rows.append(fields);
        }
    }
    return d;
}

QString E2EStore::Program(const QString& name)
{
    return BuildDir() + QStringLiteral("/bin/") + name;
}

QString E2EStore::Library(const QString& name)
{
    return BuildDir() + QStringLiteral("/lib/") + name;
}

E2EStore::E2EStore()
{
    if (!dir_.isValid()) {
        error_ = QStringLiteral("no temporary directory");
        return;
    }
    ini_[QStringLiteral("Printer")][QStringLiteral("OmronPrinter")] =
        QStringLiteral("file:") + Path(QStringLiteral("receipt.prn"));
    ini_[QStringLiteral("Report")][QStringLiteral("Output")] = Path(QStringLiteral("receipt.pdf"));
    ini_[QStringLiteral("CardTerminal")][QStringLiteral("Library")] = Library(QStringLiteral("libsldll.so"));
    ini_[QStringLiteral("Clock")][QStringLiteral("Sync")] = QStringLiteral("0");
    writeIni();
    ok_ = RunToEnd(Program(QStringLiteral("qiantai-host")),
                   {QStringLiteral("init-demo"), QStringLiteral("--db"), StoreFile(),
                    QStringLiteral("--centre"), Path(QStringLiteral("centre.db")),
                    QStringLiteral("-platform"), QStringLiteral("offscreen")},
                   error_);
}

E2EStore::~E2EStore()
{
    if (cardd_) {
        cardd_->terminate();
        if (!cardd_->waitForFinished(5000)) {
            cardd_->kill();
            cardd_->waitForFinished();
        }
        KeepLog(QString::fromUtf8(cardd_->readAll()));
    }
}

QString E2EStore::Path(const QString& name) const
{
    return dir_.filePath(name);
}

void E2EStore::SetIni(const QString& section, const QString& key, const QString& value)
{
    ini_[section][key] = value;
    writeIni();
}

void E2EStore::writeIni()
{
    QFile f(Path(QStringLiteral("Quelmarpos.ini")));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return;
    QTextStream out(&f);
    for (auto s = ini_.cbegin(); s != ini_.cend(); ++s) {
        out << '[' << s.key() << "]\n";
        for (auto k = s->cbegin(); k != s->cend(); ++k)
            out << k.key() << '=' << k.value() << '\n';
    }
}

HostRun E2EStore::RunHost(const QString& operatorCode, const QString& password, const QString& keys,
                          int timeoutMs)
{
    HostRun result;
    const QString script =
        Path(QStringLiteral("keys-%1.txt").arg(QUuid::createUuid().toString(QUuid::Id128)));
    QFile f(script);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(keys.toUtf8()) < 0) {
        result.output = QStringLiteral("cannot write ") + script;
        return result;
    }
    f.close();
    return RunCommand({QStringLiteral("--db"), StoreFile(), QStringLiteral("--centre"),
                       Path(QStringLiteral("centre.db")), QStringLiteral("--operator"), operatorCode,
                       QStringLiteral("--keys"), script},
                      password, timeoutMs);
}

HostRun E2EStore::RunCommand(const QStringList& args, const QString& password, int timeoutMs)
{
    HostRun result;
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("QIANTAI_INI_DIR"), dir_.path() + QLatin1Char('/'));
    env.insert(QStringLiteral("QIANTAI_PASSWORD"), password);
    env.insert(QStringLiteral("QT_LOGGING_RULES"), LogRules);
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(Program(QStringLiteral("qiantai-host")), args);
    const bool finished = p.waitForFinished(timeoutMs);
    if (!finished) {
        p.kill();
        p.waitForFinished();
    }
    result.output = QString::fromUtf8(p.readAll());
    KeepLog(result.output);
    if (finished && p.exitStatus() == QProcess::NormalExit)
        result.status = p.exitCode();
    return result;
}

QList<QStringList> E2EStore::run(const QString& file, const QString& sql, bool rows)
{
    QList<QStringList> result;
    const QString name = QStringLiteral("e2e-") + QUuid::createUuid().toString(QUuid::Id128);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
        if (!db.open()) {
            ADD_FAILURE() << "cannot open " << file.toStdString() << ": "
                          << db.lastError().text().toStdString();
        } else {
            QSqlQuery q(db);
            if (!q.exec(sql)) {
                ADD_FAILURE() << sql.toStdString() << ": " << q.lastError().text().toStdString();
            } else if (rows) {
                while (q.next()) {
                    QStringList row;
                    for (int i = 0; i < q.record().count(); ++i)
                        row << q.value(i).toString();
                    result << row;
                }
            }
        }
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}

QList<QStringList> E2EStore::Query(const QString& sql)
{
    return run(StoreFile(), sql, true);
}

void E2EStore::Exec(const QString& sql)
{
    run(StoreFile(), sql, false);
}

QList<QStringList> E2EStore::QueryCards(const QString& sql)
{
    return run(CardsFile(), sql, true);
}

bool E2EStore::StartCardServer()
{
    const QString cardd = Program(QStringLiteral("qiantai-cardd"));
    if (!RunToEnd(cardd, {QStringLiteral("--db"), CardsFile(), QStringLiteral("--init-demo")}, error_))
        return false;
    cardd_ = std::make_unique<QProcess>();
    cardd_->setProcessChannelMode(QProcess::MergedChannels);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_LOGGING_RULES"), LogRules);
    cardd_->setProcessEnvironment(env);
    cardd_->start(cardd, {QStringLiteral("--db"), CardsFile(), QStringLiteral("--listen"),
                          QStringLiteral("127.0.0.1"), QStringLiteral("--port"), QStringLiteral("0")});
    // It names its port once it listens (log lines may come before).
    const QRegularExpression listening(QStringLiteral("listening on 127\\.0\\.0\\.1:(\\d+)\n"));
    QString banner;
    QRegularExpressionMatch m;
    while (!(m = listening.match(banner)).hasMatch() && cardd_->waitForReadyRead(10000))
        banner += QString::fromUtf8(cardd_->readAll());
    KeepLog(banner);
    if (!m.hasMatch()) {
        error_ = QStringLiteral("qiantai-cardd did not start: ") + banner;
        return false;
    }
    Exec(QStringLiteral("UPDATE tbSysmsg SET f_Csz = '127.0.0.1:%1' WHERE lower(f_Csmc) = 'yckqzj'")
             .arg(m.captured(1)));
    return true;
}

} // namespace qiantai::test
