#include "cardstore.h"

#include "base/logcategories.h"

#include <QDate>
#include <QDateTime>
#include <QDebug>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QVariant>

#include <atomic>
#include <functional>
#include <optional>

#include <fcntl.h>
#include <unistd.h>

namespace qiantai::cardd {

namespace {

std::atomic<quint64> connectionCounter{0};

// One database connection for the life of one call.
class Connection {
public:
    explicit Connection(const StoreLocation& location)
        : name_(QStringLiteral("qiantai-cardd-%1").arg(++connectionCounter)),
          sqlite_(location.driver == QLatin1String("QSQLITE"))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(location.driver, name_);
        db.setDatabaseName(location.database);
        if (!location.host.isEmpty())
            db.setHostName(location.host);
        if (location.port > 0)
            db.setPort(location.port);
        if (!location.user.isEmpty())
            db.setUserName(location.user);
        if (!location.password.isEmpty())
            db.setPassword(location.password);
        const int waitMs = qMax(1, location.waitMs);
        if (sqlite_)
            db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(waitMs));
        else
            db.setConnectOptions(QStringLiteral("connect_timeout=%1").arg(qMax(1, (waitMs + 999) / 1000)));
        if (!db.open()) {
            error_ = db.lastError().text();
            return;
        }
        if (!sqlite_) {
            QSqlQuery q(db);
            if (!q.exec(QStringLiteral("SET lock_timeout = %1").arg(waitMs)) ||
                !q.exec(QStringLiteral("SET statement_timeout = %1").arg(waitMs)))
                error_ = q.lastError().text();
        }
    }
    ~Connection()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(name_, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(name_);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    bool ok() const { return error_.isEmpty(); }
    const QString& error() const { return error_; }
    bool sqlite() const { return sqlite_; }
    QSqlDatabase db() const { return QSqlDatabase::database(name_, false); }

    // A write transaction: on SQLite the write lock is taken at once so that
    // two charges queue instead of failing on the upgrade.
    bool begin()
    {
        if (!sqlite_)
            return db().transaction();
        QSqlQuery q(db());
        return q.exec(QStringLiteral("BEGIN IMMEDIATE"));
    }
    bool commit()
    {
        if (!sqlite_)
            return db().commit();
        QSqlQuery q(db());
        return q.exec(QStringLiteral("COMMIT"));
    }
    void rollback()
    {
        if (!sqlite_) {
            db().rollback();
            return;
        }
        QSqlQuery q(db());
        q.exec(QStringLiteral("ROLLBACK"));
    }

private:
    QString name_;
    bool sqlite_;
    QString error_;
};

QString Now()
{
    return QDateTime::currentDateTime().toString(Qt::ISODate);
}

QString Yuan(qint64 fen)
{
    return QString::number(double(fen) / 100.0, 'f', 2);
}

// Runs `sql` with positional values; false with the error in `error`.
bool Exec(QSqlQuery& q, const QString& sql, const QVariantList& values, QString* error)
{
    if (!q.prepare(sql)) {
        *error = q.lastError().text();
        return false;
    }
    for (const QVariant& v : values)
        q.addBindValue(v);
    if (!q.exec()) {
        *error = q.lastError().text();
        return false;
    }
    return true;
}

const char* const MemberCardTable = "CREATE TABLE IF NOT EXISTS member_card ("
                                    " card_no TEXT PRIMARY KEY,"
                                    " member_account TEXT NOT NULL,"
                                    " password_hash TEXT NOT NULL,"
                                    " balance_fen BIGINT NOT NULL CHECK (balance_fen >= 0),"
                                    " points BIGINT NOT NULL DEFAULT 0,"
                                    " status TEXT NOT NULL DEFAULT 'active')";
const char* const CertificateTable = "CREATE TABLE IF NOT EXISTS welfare_certificate ("
                                     " certificate_no TEXT PRIMARY KEY,"
                                     " face_value_fen BIGINT NOT NULL CHECK (face_value_fen > 0),"
                                     " deduction_fen BIGINT NOT NULL DEFAULT 0,"
                                     " state TEXT NOT NULL DEFAULT 'unused',"
                                     " used_document_no TEXT,"
                                     " used_unit_code TEXT,"
                                     " used_at TEXT)";
const char* const JournalColumns = " request_key TEXT NOT NULL UNIQUE,"
                                   " card_type TEXT NOT NULL,"
                                   " card_no TEXT NOT NULL,"
                                   " document_no TEXT NOT NULL,"
                                   " unit_code TEXT NOT NULL,"
                                   " amount_fen BIGINT NOT NULL,"
                                   " balance_after_fen BIGINT,"
                                   " cashier_code TEXT,"
                                   " cashier_name TEXT,"
                                   " station_no TEXT,"
                                   " created_at TEXT NOT NULL,"
                                   " state TEXT NOT NULL DEFAULT 'done',"
                                   " till TEXT)";

// Columns added after the first release: tables made by it get them here.
const struct {
    const char* table;
    const char* column;
    const char* definition;
} AddedColumns[] = {
    {"member_card", "failed_attempts", "BIGINT NOT NULL DEFAULT 0"},
    {"member_card", "locked_until", "TEXT"},
    {"card_journal", "state", "TEXT NOT NULL DEFAULT 'done'"},
    {"card_journal", "till", "TEXT"},
};

// A journal row's state: charged, given back, or a payment id closed
// without a charge.
const QString Charged = QStringLiteral("done");
const QString GivenBack = QStringLiteral("reversed");
const QString Closed = QStringLiteral("void");

QString UtcNow()
{
    return QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
}

QString PaymentKey(const QString& paymentId)
{
    return QStringLiteral("pay:") + paymentId;
}

QString StatusRefusal(const QString& status)
{
    if (status == QLatin1String("frozen"))
        return QStringLiteral("会员卡已冻结");
    if (status == QLatin1String("lost"))
        return QStringLiteral("会员卡已挂失");
    return QStringLiteral("会员卡不可用");
}

template <typename Answer> Answer Refusal(const QString& text)
{
    Answer a;
    a.outcome = Outcome::Refused;
    a.message = text;
    return a;
}

template <typename Answer> Answer FailedAnswer(const QString& text)
{
    Answer a;
    a.outcome = Outcome::Failed;
    a.message = text;
    return a;
}

// The journal row of `key`, if there is one.
bool FindJournal(Connection& c, const QString& key, qint64* id, QString* error)
{
    QSqlQuery q(c.db());
    if (!Exec(q, QStringLiteral("SELECT id FROM card_journal WHERE request_key = ?"), {key}, error))
        return false;
    *id = q.next() ? q.value(0).toLongLong() : 0;
    return true;
}

struct JournalRow {
    qint64 id = 0; // 0: no row
    QString state;
    QString cardType;
    QString cardNo;
    QString documentNo;
    qint64 amountFen = 0;
};

bool ReadJournal(Connection& c, const QString& key, JournalRow* row, QString* error)
{
    QSqlQuery q(c.db());
    if (!Exec(q,
              QStringLiteral("SELECT id, state, card_type, card_no, document_no, amount_fen FROM card_journal"
                             " WHERE request_key = ?"),
              {key}, error))
        return false;
    *row = JournalRow();
    if (q.next())
        *row = {q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toString(),
                q.value(3).toString(),   q.value(4).toString(), q.value(5).toLongLong()};
    return true;
}

bool SetJournalState(Connection& c, qint64 id, const QString& state, QString* error)
{
    QSqlQuery q(c.db());
    return Exec(q, QStringLiteral("UPDATE card_journal SET state = ? WHERE id = ?"), {state, id}, error);
}

bool HasColumn(Connection& c, const char* table, const char* column)
{
    QSqlQuery q(c.db());
    return q.exec(
        QStringLiteral("SELECT %1 FROM %2 WHERE 1 = 0").arg(QLatin1String(column), QLatin1String(table)));
}

bool InsertJournal(Connection& c, const QString& key, const QString& type, const Charge& charge,
                   const QVariant& balanceAfter, qint64* id, QString* error)
{
    QSqlQuery q(c.db());
    if (!Exec(q,
              QStringLiteral(
                  "INSERT INTO card_journal (request_key, card_type, card_no, document_no, unit_code,"
                  " amount_fen, balance_after_fen, cashier_code, cashier_name, station_no, created_at, state,"
                  " till) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
              {key, type, charge.cardNo, charge.documentNo, charge.unitCode, charge.amountFen, balanceAfter,
               charge.cashierCode, charge.cashierName, charge.stationNo, Now(), Charged, charge.till},
              error))
        return false;
    return FindJournal(c, key, id, error);
}

ChargeAnswer Replayed(qint64 id)
{
    ChargeAnswer a;
    a.outcome = Outcome::Done;
    a.journalId = id;
    a.replayed = true;
    return a;
}

// A write transaction on one payment id: its journal row read first.
class PaymentTransaction {
public:
    PaymentTransaction(const StoreLocation& location, const QString& paymentId)
        : c(location), key(PaymentKey(paymentId))
    {
        if (!c.ok())
            failure_ = c.error();
        else if (!c.begin())
            failure_ = c.db().lastError().text();
        else if (!ReadJournal(c, key, &row, &error)) {
            failure_ = error;
            c.rollback();
        }
    }
    // False when the transaction could not begin; failed() says why.
    bool ok() const { return failure_.isNull(); }
    ChargeAnswer failed() const { return FailedAnswer<ChargeAnswer>(failure_); }
    ChargeAnswer fail(const QString& text)
    {
        c.rollback();
        return FailedAnswer<ChargeAnswer>(text);
    }
    ChargeAnswer refuse(const QString& text)
    {
        c.rollback();
        return Refusal<ChargeAnswer>(text);
    }

    Connection c;
    const QString key;
    JournalRow row;
    QString error;

private:
    QString failure_;
};

// A payment id met again: its first charge stands, for that charge only.
ChargeAnswer Repeat(const JournalRow& row, const QString& type, const Charge& charge)
{
    if (row.state == Closed)
        return Refusal<ChargeAnswer>(QStringLiteral("该笔支付已作废,请重新支付"));
    if (row.state == GivenBack)
        return Refusal<ChargeAnswer>(QStringLiteral("该笔支付已撤销,请重新支付"));
    if (row.cardType != type || row.cardNo != charge.cardNo || row.documentNo != charge.documentNo ||
        (type == QLatin1String("0") && row.amountFen != charge.amountFen))
        return Refusal<ChargeAnswer>(QStringLiteral("支付编号已用于另一笔支付"));
    return Replayed(row.id);
}

// After a failed insert: a concurrent twin of the same payment (or the
// status question that closed its id) may have won.
ChargeAnswer AfterFailedInsert(const StoreLocation& location, const QString& key, const QString& type,
                               const Charge& charge, const QString& insertError)
{
    Connection c(location);
    JournalRow row;
    QString error;
    if (c.ok() && ReadJournal(c, key, &row, &error) && row.id != 0)
        return Repeat(row, type, charge);
    return FailedAnswer<ChargeAnswer>(insertError);
}

// The card's own part of a charge, inside the payment's transaction: it
// debits the card and may set what the journal keeps (the amount charged,
// the balance after), or answers with a refusal or failure it rolled back.
using Debit =
    std::function<std::optional<ChargeAnswer>(PaymentTransaction&, Charge* journal, QVariant* balanceAfter)>;

// One charge per payment id: a repeat of the id is answered from its
// journal row without a second debit.
ChargeAnswer ChargeOnce(const StoreLocation& location, const Charge& charge, const QString& type,
                        const Debit& debit)
{
    PaymentTransaction t(location, charge.paymentId);
    if (!t.ok())
        return t.failed();
    if (t.row.id != 0) {
        t.c.rollback();
        return Repeat(t.row, type, charge);
    }
    Charge journal = charge;
    QVariant balanceAfter;
    if (const std::optional<ChargeAnswer> answer = debit(t, &journal, &balanceAfter))
        return *answer;
    qint64 id = 0;
    if (!InsertJournal(t.c, t.key, type, journal, balanceAfter, &id, &t.error)) {
        t.c.rollback();
        return AfterFailedInsert(location, t.key, type, journal, t.error);
    }
    if (!t.c.commit())
        return t.fail(t.c.db().lastError().text());
    ChargeAnswer a;
    a.outcome = Outcome::Done;
    a.journalId = id;
    return a;
}

// Commits when `done`, else rolls back and fails with `error`, the failed
// statement's message.
Result<> CommitOrRollBack(Connection& c, bool done, const QString& error)
{
    if (done && c.commit())
        return {};
    const QString message = done ? c.db().lastError().text() : error;
    c.rollback();
    return Failure{message};
}

} // namespace

Result<StoreLocation> ParseStoreLocation(const QString& text)
{
    StoreLocation l;
    if (text.startsWith(QLatin1String("postgresql://")) || text.startsWith(QLatin1String("postgres://"))) {
        const QUrl url(text);
        if (!url.isValid() || url.path().size() < 2)
            return Failure{QStringLiteral("PostgreSQL URL without a database: %1")
                               .arg(url.toString(QUrl::RemovePassword))};
        l.driver = QStringLiteral("QPSQL");
        l.database = url.path().mid(1);
        l.host = url.host();
        l.port = url.port(-1);
        l.user = url.userName();
        l.password = url.password();
    } else if (text.isEmpty()) {
        return Failure{QStringLiteral("no database given")};
    } else {
        l.database = text.startsWith(QLatin1String("sqlite:")) ? text.mid(7) : text;
    }
    return l;
}

CardStore::CardStore(StoreLocation location) : location_(std::move(location)) {}

Result<> CardStore::initialise()
{
    if (location_.driver == QLatin1String("QSQLITE") && !location_.database.isEmpty() &&
        location_.database != QLatin1String(":memory:")) {
        // Created here, before SQLite would make it with the umask's mode;
        // its -wal and -shm files take the mode of the database.
        const QByteArray path = QFile::encodeName(location_.database);
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0)
            ::close(fd);
    }
    Connection c(location_);
    if (!c.ok())
        return Failure{c.error()};
    QSqlQuery q(c.db());
    if (c.sqlite())
        q.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    const QString journal = QStringLiteral("CREATE TABLE IF NOT EXISTS card_journal (id %1,%2")
                                .arg(c.sqlite() ? QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT")
                                                : QStringLiteral("BIGSERIAL PRIMARY KEY"),
                                     QLatin1String(JournalColumns));
    for (const QString& sql :
         {QString::fromLatin1(MemberCardTable), QString::fromLatin1(CertificateTable), journal}) {
        if (!q.exec(sql))
            return Failure{q.lastError().text()};
    }
    for (const auto& added : AddedColumns) {
        if (HasColumn(c, added.table, added.column))
            continue;
        if (!q.exec(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3")
                        .arg(QLatin1String(added.table), QLatin1String(added.column),
                             QLatin1String(added.definition))))
            return Failure{q.lastError().text()};
    }
    return {};
}

Result<bool> CardStore::hasJournal()
{
    Connection c(location_);
    if (!c.ok())
        return Failure{c.error()};
    QSqlQuery q(c.db());
    QString error;
    if (!Exec(q, QStringLiteral("SELECT COUNT(*) FROM card_journal WHERE state <> ?"), {Closed}, &error))
        return Failure{error};
    if (!q.next())
        return Failure{q.lastError().text()};
    return q.value(0).toLongLong() > 0;
}

Result<> CardStore::eraseAll()
{
    Connection c(location_);
    if (!c.ok())
        return Failure{c.error()};
    if (!c.begin())
        return Failure{c.db().lastError().text()};
    QSqlQuery q(c.db());
    bool done = true;
    for (const char* table : {"card_journal", "member_card", "welfare_certificate"}) {
        done = q.exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
        if (!done)
            break;
    }
    const QString error = done ? QString() : q.lastError().text();
    q.finish();
    return CommitOrRollBack(c, done, error);
}

Result<> CardStore::putMemberCard(const MemberCard& card, const std::string& password, HashCost cost)
{
    const std::string hash = HashPassword(password, cost);
    if (hash.empty())
        return Failure{QStringLiteral("password hashing failed")};
    Connection c(location_);
    if (!c.ok())
        return Failure{c.error()};
    if (!c.begin())
        return Failure{c.db().lastError().text()};
    QSqlQuery q(c.db());
    QString error;
    const bool done =
        Exec(q, QStringLiteral("DELETE FROM member_card WHERE card_no = ?"), {card.cardNo}, &error) &&
        Exec(q,
             QStringLiteral(
                 "INSERT INTO member_card (card_no, member_account, password_hash, balance_fen, points,"
                 " status) VALUES (?, ?, ?, ?, ?, ?)"),
             {card.cardNo, card.memberAccount, QString::fromStdString(hash), card.balanceFen, card.points,
              card.status.isEmpty() ? QStringLiteral("active") : card.status},
             &error);
    q.finish();
    return CommitOrRollBack(c, done, error);
}

Result<> CardStore::putCertificate(const Certificate& certificate)
{
    Connection c(location_);
    if (!c.ok())
        return Failure{c.error()};
    if (!c.begin())
        return Failure{c.db().lastError().text()};
    QSqlQuery q(c.db());
    QString error;
    const bool done =
        Exec(q, QStringLiteral("DELETE FROM welfare_certificate WHERE certificate_no = ?"),
             {certificate.certificateNo}, &error) &&
        Exec(q,
             QStringLiteral(
                 "INSERT INTO welfare_certificate (certificate_no, face_value_fen, deduction_fen, state)"
                 " VALUES (?, ?, ?, ?)"),
             {certificate.certificateNo, certificate.faceValueFen, certificate.deductionFen,
              certificate.state.isEmpty() ? QStringLiteral("unused") : certificate.state},
             &error);
    q.finish();
    return CommitOrRollBack(c, done, error);
}

Result<> CardStore::putDemoData(HashCost cost)
{
    const struct {
        MemberCard card;
        const char* password;
    } cards[] = {
        {{QStringLiteral("8800000001"), QStringLiteral("M00000001"), 50000, 1200, QStringLiteral("active")},
         "123456"},
        {{QStringLiteral("8800000002"), QStringLiteral("M00000002"), 10000, 300, QStringLiteral("active")},
         "654321"},
        {{QStringLiteral("8800000003"), QStringLiteral("M00000003"), 5000, 0, QStringLiteral("frozen")},
         "111111"},
    };
    for (const auto& c : cards) {
        if (Result<> put = putMemberCard(c.card, c.password, cost); !put)
            return put;
    }
    const Certificate certificates[] = {
        {QStringLiteral("7700000001"), 5000, 0, QStringLiteral("unused")},
        {QStringLiteral("7700000002"), 5000, 0, QStringLiteral("unused")},
        {QStringLiteral("7700000003"), 10000, 2000, QStringLiteral("unused")},
        {QStringLiteral("7700000004"), 5000, 0, QStringLiteral("void")},
    };
    for (const auto& c : certificates) {
        if (Result<> put = putCertificate(c); !put)
            return put;
    }
    return {};
}

const std::string& CardStore::unknownCardHash()
{
    std::lock_guard<std::mutex> lock(unknownCardHashMutex_);
    if (unknownCardHash_.empty())
        unknownCardHash_ = HashPassword("no card has this password", passwordCost_);
    return unknownCardHash_;
}

QString CardOrPasswordRefusal()
{
    return QStringLiteral("会员卡号或密码错误");
}

MemberAnswer CardStore::queryMember(const QString& cardNo, const std::string& password,
                                    const LockPolicy& policy)
{
    Connection c(location_);
    if (!c.ok())
        return FailedAnswer<MemberAnswer>(c.error());
    QSqlQuery q(c.db());
    QString error;
    if (!Exec(q,
              QStringLiteral(
                  "SELECT member_account, password_hash, balance_fen, points, status, locked_until FROM"
                  " member_card WHERE card_no = ?"),
              {cardNo}, &error))
        return FailedAnswer<MemberAnswer>(error);
    if (!q.next()) {
        // The same work as a wrong password, so that time tells nothing.
        VerifyPassword(unknownCardHash(), password);
        return Refusal<MemberAnswer>(CardOrPasswordRefusal());
    }
    MemberAnswer a;
    a.card.cardNo = cardNo;
    a.card.memberAccount = q.value(0).toString();
    const std::string hash = q.value(1).toString().toStdString();
    a.card.balanceFen = q.value(2).toLongLong();
    a.card.points = q.value(3).toLongLong();
    a.card.status = q.value(4).toString();
    const QString lockedUntil = q.value(5).toString();
    q.finish();
    // The card's state first: a card that may not pay takes no guesses.
    if (a.card.status != QLatin1String("active"))
        return Refusal<MemberAnswer>(StatusRefusal(a.card.status));
    if (!lockedUntil.isEmpty() && lockedUntil > UtcNow())
        return Refusal<MemberAnswer>(QStringLiteral("会员卡密码错误次数过多,已锁定,请稍后再试"));
    if (!VerifyPassword(hash, password)) {
        // Counted in the database: a lock holds across connections, tills
        // and restarts.
        if (!Exec(q,
                  QStringLiteral(
                      "UPDATE member_card SET failed_attempts = failed_attempts + 1 WHERE card_no = ?"),
                  {cardNo}, &error) ||
            !Exec(q, QStringLiteral("SELECT failed_attempts FROM member_card WHERE card_no = ?"), {cardNo},
                  &error) ||
            !q.next())
            return FailedAnswer<MemberAnswer>(error);
        const qint64 failures = q.value(0).toLongLong();
        q.finish();
        if (failures >= qMax(1, policy.attempts)) {
            const QString until = QDateTime::currentDateTimeUtc()
                                      .addSecs(qint64(qMax(0, policy.minutes)) * 60)
                                      .toString(Qt::ISODate);
            if (!Exec(q,
                      QStringLiteral(
                          "UPDATE member_card SET failed_attempts = 0, locked_until = ? WHERE card_no = ?"),
                      {until, cardNo}, &error))
                return FailedAnswer<MemberAnswer>(error);
        }
        return Refusal<MemberAnswer>(CardOrPasswordRefusal());
    }
    if (!Exec(
            q,
            QStringLiteral("UPDATE member_card SET failed_attempts = 0, locked_until = NULL WHERE card_no = ?"
                           " AND (failed_attempts <> 0 OR locked_until IS NOT NULL)"),
            {cardNo}, &error))
        return FailedAnswer<MemberAnswer>(error);
    a.outcome = Outcome::Done;
    return a;
}

CertificateAnswer CardStore::queryCertificate(const QString& certificateNo)
{
    Connection c(location_);
    if (!c.ok())
        return FailedAnswer<CertificateAnswer>(c.error());
    QSqlQuery q(c.db());
    QString error;
    if (!Exec(q,
              QStringLiteral("SELECT face_value_fen, deduction_fen, state FROM welfare_certificate"
                             " WHERE certificate_no = ?"),
              {certificateNo}, &error))
        return FailedAnswer<CertificateAnswer>(error);
    if (!q.next())
        return Refusal<CertificateAnswer>(QStringLiteral("福利证不存在"));
    CertificateAnswer a;
    a.certificate = {certificateNo, q.value(0).toLongLong(), q.value(1).toLongLong(), q.value(2).toString()};
    if (a.certificate.state == QLatin1String("used"))
        return Refusal<CertificateAnswer>(QStringLiteral("福利证已使用"));
    if (a.certificate.state != QLatin1String("unused"))
        return Refusal<CertificateAnswer>(QStringLiteral("福利证已作废"));
    a.outcome = Outcome::Done;
    return a;
}

ChargeAnswer CardStore::chargeMember(const Charge& charge)
{
    if (charge.paymentId.isEmpty())
        return Refusal<ChargeAnswer>(QStringLiteral("缺少支付编号"));
    if (charge.amountFen <= 0)
        return Refusal<ChargeAnswer>(QStringLiteral("支付金额无效"));
    return ChargeOnce(
        location_, charge, QStringLiteral("0"),
        [&charge](PaymentTransaction& t, Charge*, QVariant* balanceAfter) -> std::optional<ChargeAnswer> {
            QSqlQuery q(t.c.db());
            if (!Exec(q,
                      QStringLiteral("SELECT member_account, balance_fen, status FROM member_card "
                                     "WHERE card_no = ?"),
                      {charge.cardNo}, &t.error))
                return t.fail(t.error);
            if (!q.next())
                return t.refuse(QStringLiteral("会员卡不存在"));
            const QString account = q.value(0).toString();
            const qint64 balance = q.value(1).toLongLong();
            const QString status = q.value(2).toString();
            q.finish();
            if (account != charge.memberAccount)
                return t.refuse(QStringLiteral("会员帐号与卡号不符"));
            if (status != QLatin1String("active"))
                return t.refuse(StatusRefusal(status));
            // The balance test and the debit are one statement.
            if (!Exec(q,
                      QStringLiteral("UPDATE member_card SET balance_fen = balance_fen - ? WHERE "
                                     "card_no = ? AND balance_fen >= ?"),
                      {charge.amountFen, charge.cardNo, charge.amountFen}, &t.error))
                return t.fail(t.error);
            if (q.numRowsAffected() != 1)
                return t.refuse(QStringLiteral("会员卡余额不足,余额%1元").arg(Yuan(balance)));
            if (!Exec(q, QStringLiteral("SELECT balance_fen FROM member_card WHERE card_no = ?"),
                      {charge.cardNo}, &t.error) ||
                !q.next())
                return t.fail(t.error);
            *balanceAfter = q.value(0).toLongLong();
            return std::nullopt;
        });
}

ChargeAnswer CardStore::chargeCertificate(const Charge& charge)
{
    if (charge.paymentId.isEmpty())
        return Refusal<ChargeAnswer>(QStringLiteral("缺少支付编号"));
    return ChargeOnce(
        location_, charge, QStringLiteral("1"),
        [&charge](PaymentTransaction& t, Charge* journal, QVariant*) -> std::optional<ChargeAnswer> {
            QSqlQuery q(t.c.db());
            if (!Exec(q,
                      QStringLiteral("SELECT face_value_fen, state FROM welfare_certificate WHERE "
                                     "certificate_no = ?"),
                      {charge.cardNo}, &t.error))
                return t.fail(t.error);
            if (!q.next())
                return t.refuse(QStringLiteral("福利证不存在"));
            const qint64 faceValue = q.value(0).toLongLong();
            const QString state = q.value(1).toString();
            q.finish();
            if (state == QLatin1String("used"))
                return t.refuse(QStringLiteral("福利证已使用"));
            if (state != QLatin1String("unused"))
                return t.refuse(QStringLiteral("福利证已作废"));
            if (!Exec(q,
                      QStringLiteral("UPDATE welfare_certificate SET state = 'used', used_document_no "
                                     "= ?, used_unit_code = ?, used_at = ? WHERE certificate_no = ? "
                                     "AND state = 'unused'"),
                      {charge.documentNo, charge.unitCode, Now(), charge.cardNo}, &t.error))
                return t.fail(t.error);
            if (q.numRowsAffected() != 1)
                return t.refuse(QStringLiteral("福利证已使用"));
            // The journal keeps the certificate's face value.
            journal->amountFen = faceValue;
            return std::nullopt;
        });
}

StatusAnswer CardStore::paymentStatus(const QString& paymentId, bool close)
{
    if (paymentId.isEmpty())
        return Refusal<StatusAnswer>(QStringLiteral("缺少支付编号"));
    const QString key = PaymentKey(paymentId);
    for (int attempt = 0; attempt < 2; ++attempt) {
        Connection c(location_);
        if (!c.ok())
            return FailedAnswer<StatusAnswer>(c.error());
        if (!c.begin())
            return FailedAnswer<StatusAnswer>(c.db().lastError().text());
        QString error;
        JournalRow row;
        if (!ReadJournal(c, key, &row, &error)) {
            c.rollback();
            return FailedAnswer<StatusAnswer>(error);
        }
        StatusAnswer a;
        a.outcome = Outcome::Done;
        if (row.id != 0 || !close) {
            c.rollback();
            a.known = row.id != 0;
            a.journalId = row.id;
            a.amountFen = row.amountFen;
            a.state = row.state == Charged     ? PaymentState::Done
                      : row.state == GivenBack ? PaymentState::Reversed
                                               : PaymentState::None;
            return a;
        }
        // Never charged: close the id, so that a charge still on its way
        // cannot commit after the till was told it was not made.
        QSqlQuery q(c.db());
        if (Exec(q,
                 QStringLiteral(
                     "INSERT INTO card_journal (request_key, card_type, card_no, document_no,"
                     " unit_code, amount_fen, created_at, state) VALUES (?, '', '', '', '', 0, ?, ?)"),
                 {key, Now(), Closed}, &error) &&
            c.commit())
            return a;
        c.rollback();
        // The charge won the race: read it again.
    }
    return FailedAnswer<StatusAnswer>(QStringLiteral("payment state unreadable"));
}

ChargeAnswer CardStore::reverseCharge(const QString& paymentId, const QString& till)
{
    if (paymentId.isEmpty())
        return Refusal<ChargeAnswer>(QStringLiteral("缺少支付编号"));
    PaymentTransaction t(location_, paymentId);
    if (!t.ok())
        return t.failed();
    Connection& c = t.c;
    const JournalRow& row = t.row;
    QString& error = t.error;
    auto fail = [&t](const QString& text) { return t.fail(text); };
    auto refuse = [&t](const QString& text) { return t.refuse(text); };
    if (row.id == 0 || row.state == Closed)
        return refuse(QStringLiteral("没有这笔支付"));
    if (row.state == GivenBack) {
        c.rollback();
        return Replayed(row.id);
    }
    QSqlQuery q(c.db());
    if (row.cardType == QLatin1String("0")) {
        if (!Exec(q, QStringLiteral("UPDATE member_card SET balance_fen = balance_fen + ? WHERE card_no = ?"),
                  {row.amountFen, row.cardNo}, &error))
            return fail(error);
    } else {
        if (!Exec(q,
                  QStringLiteral(
                      "UPDATE welfare_certificate SET state = 'unused', used_document_no = NULL,"
                      " used_unit_code = NULL, used_at = NULL WHERE certificate_no = ? AND state = 'used'"
                      " AND used_document_no = ?"),
                  {row.cardNo, row.documentNo}, &error))
            return fail(error);
    }
    if (q.numRowsAffected() != 1)
        return refuse(QStringLiteral("这笔支付的卡或券已变更,不能撤销"));
    if (!SetJournalState(c, row.id, GivenBack, &error))
        return fail(error);
    qCInfo(lcCardServer).noquote() << "journal" << row.id << "given back for" << till;
    if (!c.commit())
        return fail(c.db().lastError().text());
    ChargeAnswer a;
    a.outcome = Outcome::Done;
    a.journalId = row.id;
    return a;
}

Result<QList<JournalRecord>> CardStore::journalForDay(const QString& day)
{
    const QDate date = QDate::fromString(day, QStringLiteral("yyyyMMdd"));
    if (!date.isValid())
        return Failure{QStringLiteral("not a day: %1").arg(day)};
    Connection c(location_);
    if (!c.ok())
        return Failure{c.error()};
    QSqlQuery q(c.db());
    QString error;
    if (!Exec(q,
              QStringLiteral("SELECT id, card_type, card_no, document_no, unit_code, cashier_code, till,"
                             " amount_fen, state, created_at FROM card_journal WHERE created_at >= ? AND"
                             " created_at < ? AND state <> ? ORDER BY id"),
              {date.toString(Qt::ISODate), date.addDays(1).toString(Qt::ISODate), Closed}, &error))
        return Failure{error};
    QList<JournalRecord> rows;
    while (q.next())
        rows.append({q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toString(),
                     q.value(3).toString(), q.value(4).toString(), q.value(5).toString(),
                     q.value(6).toString(), q.value(7).toLongLong(), q.value(8).toString(),
                     q.value(9).toString()});
    return rows;
}

Result<MemberCard> CardStore::readMember(const QString& cardNo)
{
    Connection c(location_);
    if (!c.ok())
        return Failure{c.error()};
    QSqlQuery q(c.db());
    QString error;
    if (!Exec(q,
              QStringLiteral(
                  "SELECT member_account, balance_fen, points, status FROM member_card WHERE card_no = ?"),
              {cardNo}, &error))
        return Failure{error};
    if (!q.next())
        return Failure{QStringLiteral("no card %1").arg(cardNo)};
    return MemberCard{cardNo, q.value(0).toString(), q.value(1).toLongLong(), q.value(2).toLongLong(),
                      q.value(3).toString()};
}

Result<qint64> CardStore::journalCount(const QString& cardNo)
{
    Connection c(location_);
    if (!c.ok())
        return Failure{c.error()};
    QSqlQuery q(c.db());
    QString error;
    if (!Exec(q, QStringLiteral("SELECT COUNT(*) FROM card_journal WHERE card_no = ?"), {cardNo}, &error))
        return Failure{error};
    if (!q.next())
        return Failure{q.lastError().text()};
    return q.value(0).toLongLong();
}

} // namespace qiantai::cardd
