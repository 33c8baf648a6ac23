// A private PostgreSQL server for the tests: initdb in a temporary folder,
// listening only on a unix socket there. Absent binaries mean no server;
// tests then skip.
#pragma once

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <memory>

#include <pwd.h>
#include <unistd.h>

namespace qiantai::host::test {

class PgServer {
public:
    // The shared server of this test run; null when it cannot be started.
    static PgServer* instance()
    {
        static std::unique_ptr<PgServer> server = start();
        return server.get();
    }

    ~PgServer()
    {
        if (started_)
            run(pgBin(QStringLiteral("pg_ctl")), {QStringLiteral("-D"), data_, QStringLiteral("-m"),
                                                  QStringLiteral("immediate"), QStringLiteral("stop")});
    }

    // A new empty database; its postgresql:// URL.
    QString createDatabase()
    {
        const QString name = QStringLiteral("t%1_%2").arg(getpid()).arg(++count_);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("pgadmin"));
            db.setHostName(dir_.path());
            db.setPort(port_);
            db.setUserName(QStringLiteral("postgres"));
            db.setDatabaseName(QStringLiteral("postgres"));
            if (db.open())
                QSqlQuery(db).exec(QStringLiteral("CREATE DATABASE ") + name);
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("pgadmin"));
        return QStringLiteral("postgresql:///%1?host=%2&port=%3&user=postgres")
            .arg(name, dir_.path())
            .arg(port_);
    }

private:
    PgServer() = default;

    static QString binDir()
    {
        const QDir root(QStringLiteral("/usr/lib/postgresql"));
        QStringList versions = root.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        for (auto it = versions.crbegin(); it != versions.crend(); ++it)
            if (QFile::exists(root.filePath(*it + QStringLiteral("/bin/initdb"))))
                return root.filePath(*it + QStringLiteral("/bin"));
        return {};
    }
    QString pgBin(const QString& tool) const { return bin_ + QLatin1Char('/') + tool; }

    // Runs a server tool, as the postgres account when we are root.
    bool run(const QString& program, const QStringList& args) const
    {
        QProcess p;
        if (getuid() == 0) {
            p.start(QStringLiteral("runuser"), QStringList{QStringLiteral("-u"), QStringLiteral("postgres"),
                                                           QStringLiteral("--"), program} +
                                                   args);
        } else {
            p.start(program, args);
        }
        return p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    }

    static std::unique_ptr<PgServer> start()
    {
        std::unique_ptr<PgServer> s(new PgServer);
        s->bin_ = binDir();
        if (s->bin_.isEmpty() || !s->dir_.isValid() ||
            !QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")))
            return nullptr;
        if (getuid() == 0) {
            const passwd* pw = getpwnam("postgres");
            if (!pw || chown(s->dir_.path().toLocal8Bit().constData(), pw->pw_uid, pw->pw_gid) != 0)
                return nullptr;
        }
        s->data_ = s->dir_.filePath(QStringLiteral("data"));
        s->port_ = 20000 + int(QRandomGenerator::global()->bounded(20000));
        if (!s->run(s->pgBin(QStringLiteral("initdb")),
                    {QStringLiteral("-D"), s->data_, QStringLiteral("-U"), QStringLiteral("postgres"),
                     QStringLiteral("--auth=trust"), QStringLiteral("-E"), QStringLiteral("UTF8"),
                     QStringLiteral("--locale=C.UTF-8")}))
            return nullptr;
        const QString options =
            QStringLiteral("-k %1 -c listen_addresses='' -p %2 -F").arg(s->dir_.path()).arg(s->port_);
        if (!s->run(s->pgBin(QStringLiteral("pg_ctl")),
                    {QStringLiteral("-D"), s->data_, QStringLiteral("-o"), options, QStringLiteral("-w"),
                     QStringLiteral("-l"), s->dir_.filePath(QStringLiteral("log")), QStringLiteral("start")}))
            return nullptr;
        s->started_ = true;
        return s;
    }

    QTemporaryDir dir_;
    QString bin_, data_;
    int port_ = 0;
    int count_ = 0;
    bool started_ = false;
};

} // namespace qiantai::host::test
