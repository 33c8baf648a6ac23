// The card server's pieces for tests: a store with the demo cards on a
// temporary SQLite file (hashes at the least cost) and a server on a free
// loopback port, served by a thread of its own while it lives.
#pragma once

#include "cardserver.h"
#include "cardservice.h"
#include "cardstore.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <string>
#include <thread>

namespace qiantai::test {

class DemoCardStore {
public:
    // `demo` false: the tables only. `on` names a PostgreSQL database to use
    // instead of the SQLite file.
    explicit DemoCardStore(bool demo = true, const cardd::StoreLocation& on = cardd::StoreLocation())
    {
        location = on;
        if (location.driver == QLatin1String("QSQLITE"))
            location.database = dir.filePath(QStringLiteral("cards.sqlite"));
        store = std::make_unique<cardd::CardStore>(location);
        store->setPasswordCost(cardd::HashCost::Minimum);
        if (!dir.isValid()) {
            error = QStringLiteral("no temporary folder");
            return;
        }
        Result<> ready = store->initialise();
        if (ready && demo)
            ready = store->putDemoData(cardd::HashCost::Minimum);
        ok = ready.ok();
        error = ready.error();
    }

    // `columns` of the journal rows (those that match `where`), oldest
    // first, as texts; one row with the error when it cannot be read.
    QList<QStringList> journal(const QString& columns, const QString& where = QStringLiteral("1 = 1")) const
    {
        QList<QStringList> rows;
        const QString name = QStringLiteral("journal-reader");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(location.driver, name);
            db.setDatabaseName(location.database);
            db.setHostName(location.host);
            db.setPort(location.port);
            db.setUserName(location.user);
            db.setPassword(location.password);
            QSqlQuery q(db);
            if (!db.open() ||
                !q.exec(
                    QStringLiteral("SELECT %1 FROM card_journal WHERE %2 ORDER BY id").arg(columns, where)))
                rows << QStringList{QStringLiteral("journal unreadable: ") + db.lastError().text() +
                                    q.lastError().text()};
            while (q.next()) {
                QStringList row;
                for (int i = 0; i < q.record().count(); ++i)
                    row << q.value(i).toString();
                rows << row;
            }
        }
        QSqlDatabase::removeDatabase(name);
        return rows;
    }

    QTemporaryDir dir;
    cardd::StoreLocation location;
    std::unique_ptr<cardd::CardStore> store;
    bool ok = false;
    QString error;
};

class RunningCardServer {
public:
    explicit RunningCardServer(cardd::RpcMethods methods, cardd::TillKeys keys = cardd::TillKeys(),
                               cardd::ServerLimits limits = cardd::ServerLimits(),
                               const cardd::ServerTls& tls = cardd::ServerTls())
        : server_(std::move(methods), limits)
    {
        server_.setTillKeys(std::move(keys));
        ok = server_.bind("127.0.0.1", 0, tls, &error);
        if (ok)
            thread_ = std::thread([this] { server_.run(); });
    }
    ~RunningCardServer()
    {
        server_.stop();
        if (thread_.joinable())
            thread_.join();
    }
    RunningCardServer(const RunningCardServer&) = delete;
    RunningCardServer& operator=(const RunningCardServer&) = delete;

    int port() const { return server_.port(); }
    const cardd::CardServer& server() const { return server_; }

    bool ok = false;
    std::string error;

private:
    cardd::CardServer server_;
    std::thread thread_;
};

} // namespace qiantai::test
