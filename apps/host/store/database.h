// One connection to a store or distribution-centre database: SQLite file or
// PostgreSQL server, opened by path or postgresql:// URL.
#pragma once

#include "hostclock.h"
#include "sqldialect.h"

#include "qiantai/datapacket.h"

#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>

#include <functional>
#include <memory>
#include <unordered_map>

namespace qiantai::host {

enum class DatabaseKind { Store, Centre };

class Database {
public:
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens `location` (a file path, "sqlite:PATH" or a postgresql:// URL),
    // sets up the connection (SQLite: WAL, synchronous=FULL, foreign keys,
    // busy timeout, the host's SQL functions) and applies the schema
    // migrations of `kind`. Null with `error` set on failure.
    static std::unique_ptr<Database> open(const QString& location, DatabaseKind kind, const HostClock* clock,
                                          QString* error);

    SqlBackend backend() const { return backend_; }
    DatabaseKind kind() const { return kind_; }
    const HostClock& clock() const { return *clock_; }
    QSqlDatabase& connection() { return db_; }

    // Native statements with bound values ('?' placeholders).
    bool exec(const QString& sql, const QVariantList& binds, QString* error);
    // The same, giving the number of rows changed.
    bool execCount(const QString& sql, const QVariantList& binds, int* affected, QString* error);
    bool query(const QString& sql, const QVariantList& binds, DataPacket* out, QString* error);
    // First column of the first row; `found` says whether there was a row.
    bool scalar(const QString& sql, const QVariantList& binds, QVariant* value, bool* found, QString* error);

    // Statements in the module's dialect, rewritten for this backend.
    bool execDialect(const QString& sql, QString* error);
    bool queryDialect(const QString& sql, DataPacket* out, QString* error);

    // Write transaction (SQLite takes the write lock at once).
    bool begin(QString* error);
    bool commit(QString* error);
    void rollback();

    // Creates the monthly tables of `yyyymm` when they are missing.
    bool ensureMonth(const QString& yyyymm, QString* error);
    bool tableExists(const QString& name);

    // Runs a script of statements (no rewriting) in one transaction.
    bool runScript(const QString& script, QString* error);

    // Fault injection for tests: the hook runs before every statement of
    // every connection of the process; false fails that statement with
    // `error`. None is set unless a test sets one.
    using StatementHook = std::function<bool(Database& db, const QString& sql, QString* error)>;
    static void setStatementHook(StatementHook hook);

private:
    Database() = default;
    // Runs `sql`: with binds through a statement prepared once per text and
    // kept (a server parses it once, not per call), otherwise directly.
    // The query stays usable until the next run; finish() it when done.
    QSqlQuery* run(const QString& sql, const QVariantList& binds, QString* error);
    bool migrate(QString* error);

    struct QStringHash {
        std::size_t operator()(const QString& s) const { return qHash(s); }
    };
    std::unordered_map<QString, std::unique_ptr<QSqlQuery>, QStringHash> statements_;
    std::unique_ptr<QSqlQuery> direct_;
    QSet<QString> months_; // monthly tables known to exist
    QString name_;
    QSqlDatabase db_;
    SqlBackend backend_ = SqlBackend::Sqlite;
    DatabaseKind kind_ = DatabaseKind::Store;
    const HostClock* clock_ = nullptr;
};

// A cashier-readable text for a failed statement.
QString DescribeSqlError(const QSqlError& e);

// Reads the schema file `path` below the db folder (e.g. "store/month.sql").
QString SchemaText(const QString& path);

// Ends a write transaction that was not committed.
class TransactionGuard {
public:
    explicit TransactionGuard(Database& db) : db_(db) {}
    ~TransactionGuard()
    {
        if (!done_)
            db_.rollback();
    }
    bool commit(QString* error)
    {
        done_ = db_.commit(error);
        return done_;
    }

private:
    Database& db_;
    bool done_ = false;
};

} // namespace qiantai::host
