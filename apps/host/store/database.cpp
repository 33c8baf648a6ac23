#include "database.h"

#include "sqlitefunctions.h"

#include "base/logcategories.h"

#include <QAtomicInt>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlRecord>
#include <QUrl>
#include <QUrlQuery>

#include <algorithm>

namespace qiantai::host {
namespace {

// Statements kept prepared per connection.
constexpr std::size_t MaxPreparedStatements = 256;

QString NextConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("qiantai-host-%1").arg(counter.fetchAndAddRelaxed(1));
}

FieldType TypeOf(QMetaType t)
{
    switch (t.id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
        return FieldType::Integer;
    case QMetaType::Double:
    case QMetaType::Float:
        return FieldType::Float;
    case QMetaType::Bool:
        return FieldType::Boolean;
    case QMetaType::QDateTime:
    case QMetaType::QDate:
        return FieldType::DateTime;
    default:
        return FieldType::Text;
    }
}

// SQLite has no date-time type: the host's GetDate() gives this text, which
// comes back as a date-time like on a server.
const QRegularExpression& DateTimeText()
{
    static const QRegularExpression re(QStringLiteral("^\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2}$"));
    return re;
}

QString KindFolder(DatabaseKind k)
{
    return k == DatabaseKind::Store ? QStringLiteral("store") : QStringLiteral("centre");
}

QString BackendFolder(SqlBackend b)
{
    return b == SqlBackend::Sqlite ? QStringLiteral("sqlite") : QStringLiteral("postgresql");
}

// Migration files of a database kind, in the order they apply: by number,
// the portable file before the backend's own of the same number.
QStringList MigrationFiles(DatabaseKind kind, SqlBackend backend)
{
    QStringList files;
    const QString base = QStringLiteral(":/db/") + KindFolder(kind);
    const QRegularExpression numbered(QStringLiteral("^\\d{3}_.*\\.sql$"));
    for (const QString& dir : {base, base + QLatin1Char('/') + BackendFolder(backend)})
        for (const QString& f : QDir(dir).entryList(QDir::Files, QDir::Name))
            if (numbered.match(f).hasMatch())
                files.append(QDir(dir).filePath(f).mid(5)); // without ":/db/"
    std::stable_sort(files.begin(), files.end(), [](const QString& a, const QString& b) {
        const QString fa = a.section(QLatin1Char('/'), -1), fb = b.section(QLatin1Char('/'), -1);
        if (fa.left(3) != fb.left(3))
            return fa.left(3) < fb.left(3);
        return a.count(QLatin1Char('/')) < b.count(QLatin1Char('/'));
    });
    return files;
}

QString PreviousMonth(const QString& yyyymm)
{
    int y = yyyymm.left(4).toInt(), m = yyyymm.mid(4, 2).toInt() - 1;
    if (m == 0) {
        m = 12;
        --y;
    }
    return QStringLiteral("%1%2").arg(y, 4, 10, QLatin1Char('0')).arg(m, 2, 10, QLatin1Char('0'));
}

Database::StatementHook& Hook()
{
    static Database::StatementHook hook;
    return hook;
}

} // namespace

void Database::setStatementHook(StatementHook hook)
{
    Hook() = std::move(hook);
}

QString SchemaText(const QString& path)
{
    QFile f(QStringLiteral(":/db/") + path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

QString DescribeSqlError(const QSqlError& e)
{
    const QString text = e.text().trimmed();
    const QString lower = text.toLower();
    if (lower.contains(QLatin1String("locked")) || lower.contains(QLatin1String("busy")))
        return QStringLiteral("数据库正忙（被其他收银台锁定），请稍后重试：") + text;
    if (lower.contains(QLatin1String("disk")) && lower.contains(QLatin1String("full")))
        return QStringLiteral("数据库所在磁盘已满，数据未保存：") + text;
    if (lower.contains(QLatin1String("no space")))
        return QStringLiteral("数据库所在磁盘已满，数据未保存：") + text;
    if (lower.contains(QLatin1String("connection")) || lower.contains(QLatin1String("server closed")) ||
        lower.contains(QLatin1String("terminat")))
        return QStringLiteral("与数据库的连接已断开：") + text;
    if (lower.contains(QLatin1String("readonly")) || lower.contains(QLatin1String("read-only")))
        return QStringLiteral("数据库只读，不能保存：") + text;
    return QStringLiteral("数据库执行出错：") + text;
}

Database::~Database()
{
    statements_.clear();
    direct_.reset();
    if (db_.isValid()) {
        db_.close();
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(name_);
    }
}

std::unique_ptr<Database> Database::open(const QString& location, DatabaseKind kind, const HostClock* clock,
                                         QString* error)
{
    std::unique_ptr<Database> d(new Database);
    d->name_ = NextConnectionName();
    d->kind_ = kind;
    d->clock_ = clock;
    const bool pg = location.startsWith(QLatin1String("postgresql://")) ||
                    location.startsWith(QLatin1String("postgres://"));
    if (pg) {
        d->backend_ = SqlBackend::Postgres;
        const QUrl url(location);
        const QUrlQuery params(url);
        d->db_ = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), d->name_);
        QString host = params.queryItemValue(QStringLiteral("host"), QUrl::FullyDecoded);
        if (host.isEmpty())
            host = url.host();
        d->db_.setHostName(host.isEmpty() ? QStringLiteral("localhost") : host);
        if (url.port() > 0)
            d->db_.setPort(url.port());
        else if (params.hasQueryItem(QStringLiteral("port")))
            d->db_.setPort(params.queryItemValue(QStringLiteral("port")).toInt());
        d->db_.setDatabaseName(url.path().mid(1));
        const QString user = url.userName(QUrl::FullyDecoded);
        d->db_.setUserName(user.isEmpty() ? params.queryItemValue(QStringLiteral("user"), QUrl::FullyDecoded)
                                          : user);
        d->db_.setPassword(url.password(QUrl::FullyDecoded));
    } else {
        d->backend_ = SqlBackend::Sqlite;
        QString path = location;
        if (path.startsWith(QLatin1String("sqlite:")))
            path = path.mid(7);
        d->db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), d->name_);
        d->db_.setDatabaseName(path);
        d->db_.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=15000"));
    }
    if (!d->db_.isValid()) {
        *error = QStringLiteral("数据库驱动不可用：") + d->db_.lastError().text();
        return nullptr;
    }
    if (!d->db_.open()) {
        *error = QStringLiteral("打开数据库失败：") + d->db_.lastError().text();
        return nullptr;
    }
    if (d->backend_ == SqlBackend::Sqlite) {
        for (const char* pragma :
             {"PRAGMA journal_mode=WAL", "PRAGMA synchronous=FULL", "PRAGMA foreign_keys=ON"}) {
            if (!d->exec(QString::fromLatin1(pragma), {}, error))
                return nullptr;
        }
        if (!RegisterSqliteFunctions(d->db_, clock, error))
            return nullptr;
    } else {
        if (!d->exec(QStringLiteral("SET client_min_messages TO WARNING"), {}, error))
            return nullptr;
    }
    if (!d->migrate(error))
        return nullptr;
    return d;
}

QSqlQuery* Database::run(const QString& sql, const QVariantList& binds, QString* error)
{
    if (Hook() && !Hook()(*this, sql, error)) {
        if (error->isEmpty())
            *error = QStringLiteral("数据库执行出错：") + sql;
        return nullptr;
    }
    QSqlQuery* q = nullptr;
    if (binds.isEmpty()) {
        direct_ = std::make_unique<QSqlQuery>(db_);
        q = direct_.get();
        q->setForwardOnly(true);
        if (!q->exec(sql)) {
            *error = DescribeSqlError(q->lastError());
            return nullptr;
        }
        return q;
    }
    auto it = statements_.find(sql);
    if (it == statements_.end()) {
        // The host's statements are a fixed set; texts built with other
        // values each time would only fill the cache.
        if (statements_.size() >= MaxPreparedStatements)
            statements_.clear();
        auto prepared = std::make_unique<QSqlQuery>(db_);
        prepared->setForwardOnly(true);
        if (!prepared->prepare(sql)) {
            *error = DescribeSqlError(prepared->lastError());
            return nullptr;
        }
        it = statements_.emplace(sql, std::move(prepared)).first;
    }
    q = it->second.get();
    // An empty text from the module is a text, never NULL.
    for (const QVariant& v : binds)
        q->addBindValue(v.metaType().id() == QMetaType::QString && v.toString().isNull()
                            ? QVariant(QStringLiteral(""))
                            : v);
    if (!q->exec()) {
        *error = DescribeSqlError(q->lastError());
        q->finish();
        return nullptr;
    }
    return q;
}

bool Database::exec(const QString& sql, const QVariantList& binds, QString* error)
{
    QSqlQuery* q = run(sql, binds, error);
    if (!q)
        return false;
    q->finish();
    return true;
}

bool Database::execCount(const QString& sql, const QVariantList& binds, int* affected, QString* error)
{
    QSqlQuery* q = run(sql, binds, error);
    if (!q)
        return false;
    *affected = q->numRowsAffected();
    q->finish();
    return true;
}

bool Database::query(const QString& sql, const QVariantList& binds, DataPacket* out, QString* error)
{
    QSqlQuery* found = run(sql, binds, error);
    if (!found)
        return false;
    QSqlQuery& q = *found;
    DataPacket p;
    const QSqlRecord rec = q.record();
    for (int c = 0; c < rec.count(); ++c)
        p.addColumn(rec.fieldName(c), TypeOf(rec.field(c).metaType()));
    QList<bool> textColumn;
    for (const DataColumn& c : p.columns())
        textColumn.append(c.type == FieldType::Text);
    while (q.next()) {
        QVariantList row;
        row.reserve(rec.count());
        for (int c = 0; c < rec.count(); ++c) {
            QVariant v = q.value(c);
            if (backend_ == SqlBackend::Sqlite && v.metaType().id() == QMetaType::QString &&
                DateTimeText().match(v.toString()).hasMatch())
                v = QDateTime::fromString(v.toString(), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
            row.append(v);
        }
        p.appendRow(std::move(row));
    }
    const QSqlError failed = q.lastError();
    q.finish();
    if (failed.isValid()) {
        *error = DescribeSqlError(failed);
        return false;
    }
    // A column whose values all came back as date-times is one.
    for (int c = 0; c < p.columnCount(); ++c) {
        if (!textColumn[c] || p.rowCount() == 0)
            continue;
        bool all = true;
        for (int r = 0; r < p.rowCount() && all; ++r)
            all = p.value(r, c).metaType().id() == QMetaType::QDateTime;
        if (all) {
            DataPacket typed;
            for (int k = 0; k < p.columnCount(); ++k)
                typed.addColumn(p.columns()[k].name, k == c ? FieldType::DateTime : p.columns()[k].type);
            for (int r = 0; r < p.rowCount(); ++r)
                typed.appendRow(p.row(r));
            p = typed;
        }
    }
    *out = std::move(p);
    return true;
}

bool Database::scalar(const QString& sql, const QVariantList& binds, QVariant* value, bool* found,
                      QString* error)
{
    QSqlQuery* q = run(sql, binds, error);
    if (!q)
        return false;
    *found = q->next();
    *value = *found ? q->value(0) : QVariant();
    const QSqlError failed = q->lastError();
    q->finish();
    if (failed.isValid()) {
        *error = DescribeSqlError(failed);
        return false;
    }
    return true;
}

bool Database::execDialect(const QString& sql, QString* error)
{
    return exec(RewriteSql(sql, backend_), {}, error);
}

bool Database::queryDialect(const QString& sql, DataPacket* out, QString* error)
{
    return query(RewriteSql(sql, backend_), {}, out, error);
}

bool Database::begin(QString* error)
{
    return exec(backend_ == SqlBackend::Sqlite ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"),
                {}, error);
}

bool Database::commit(QString* error)
{
    return exec(QStringLiteral("COMMIT"), {}, error);
}

void Database::rollback()
{
    QString ignored;
    exec(QStringLiteral("ROLLBACK"), {}, &ignored);
}

bool Database::tableExists(const QString& name)
{
    QVariant v;
    bool found = false;
    QString error;
    const QString sql =
        backend_ == SqlBackend::Sqlite
            ? QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND lower(name) = lower(?)")
            : QStringLiteral("SELECT 1 FROM pg_tables WHERE schemaname = current_schema() AND "
                             "tablename = lower(?)");
    return scalar(sql, {name}, &v, &found, &error) && found;
}

bool Database::runScript(const QString& script, QString* error)
{
    if (!begin(error))
        return false;
    TransactionGuard guard(*this);
    for (const QString& statement : SplitSqlScript(script))
        if (!exec(statement, {}, error))
            return false;
    return guard.commit(error);
}

bool Database::ensureMonth(const QString& yyyymm, QString* error)
{
    static const QRegularExpression month(QStringLiteral("^\\d{4}(0[1-9]|1[0-2])$"));
    if (!month.match(yyyymm).hasMatch()) {
        *error = QStringLiteral("年月") + yyyymm + QStringLiteral("不正确");
        return false;
    }
    if (kind_ != DatabaseKind::Store || months_.contains(yyyymm))
        return true;
    if (tableExists(QStringLiteral("tb") + yyyymm + QStringLiteral("_Xsmxzb"))) {
        months_.insert(yyyymm);
        return true;
    }
    if (!begin(error))
        return false;
    TransactionGuard guard(*this);
    if (tableExists(QStringLiteral("tb") + yyyymm + QStringLiteral("_Xsmxzb")))
        return guard.commit(error); // another till made them meanwhile
    QString script = SchemaText(QStringLiteral("store/month.sql"));
    script.replace(QStringLiteral("${YYYYMM}"), yyyymm);
    for (const QString& statement : SplitSqlScript(script))
        if (!exec(statement, {}, error))
            return false;
    // Customers' accounts carry their closing balance into the new month.
    const QString prev = PreviousMonth(yyyymm);
    if (tableExists(QStringLiteral("tb") + prev + QStringLiteral("_mdkhwlyhj"))) {
        const QString carry =
            QStringLiteral("INSERT INTO tb%1_mdkhwlyhj (f_Khbm, f_Qcye, f_Skje, f_Sxje) "
                           "SELECT f_Khbm, f_Qcye + f_Skje - f_Sxje, 0, 0 FROM tb%2_mdkhwlyhj")
                .arg(yyyymm, prev);
        if (!exec(carry, {}, error))
            return false;
    }
    if (!guard.commit(error))
        return false;
    months_.insert(yyyymm);
    return true;
}

bool Database::migrate(QString* error)
{
    if (!exec(QStringLiteral(
                  "CREATE TABLE IF NOT EXISTS tbHostMigration (f_Name VARCHAR(80) NOT NULL PRIMARY KEY)"),
              {}, error))
        return false;
    if (!begin(error))
        return false;
    TransactionGuard guard(*this);
    if (backend_ == SqlBackend::Postgres &&
        !exec(QStringLiteral("LOCK TABLE tbHostMigration IN EXCLUSIVE MODE"), {}, error))
        return false;
    DataPacket applied;
    if (!query(QStringLiteral("SELECT f_Name FROM tbHostMigration"), {}, &applied, error))
        return false;
    QStringList done;
    for (int r = 0; r < applied.rowCount(); ++r)
        done.append(applied.value(r, 0).toString());
    for (const QString& file : MigrationFiles(kind_, backend_)) {
        if (done.contains(file))
            continue;
        const QString script = SchemaText(file);
        if (script.isEmpty()) {
            *error = QStringLiteral("数据库结构文件缺失：") + file;
            return false;
        }
        for (const QString& statement : SplitSqlScript(script))
            if (!exec(statement, {}, error)) {
                *error = file + QStringLiteral(": ") + *error;
                return false;
            }
        if (!exec(QStringLiteral("INSERT INTO tbHostMigration (f_Name) VALUES (?)"), {file}, error))
            return false;
        qCInfo(lcHostStore).noquote() << "schema" << file << "applied";
    }
    return guard.commit(error);
}

} // namespace qiantai::host
