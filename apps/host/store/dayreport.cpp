#include "dayreport.h"

#include "base/money.h"
#include "recording.h"

#include <QDate>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

namespace qiantai::host {

namespace {

struct Tables {
    QString header, lines, payments;
    bool preSale;
};

// The monthly tables that may hold documents posted on `day`: its month and
// the months next to it (the accounting month may lag or lead the date).
QList<Tables> MonthTables(Database& store, const QDate& day)
{
    QList<Tables> found;
    for (const QDate& d : {day.addMonths(-1), day, day.addMonths(1)}) {
        const QString prefix = QStringLiteral("tb") + d.toString(QStringLiteral("yyyyMM"));
        const Tables sale{prefix + QStringLiteral("_Xsmxzb"), prefix + QStringLiteral("_xsmxcb"),
                          prefix + QStringLiteral("_Xszffs"), false};
        const Tables preSale{prefix + QStringLiteral("_Yxsmxzb"), prefix + QStringLiteral("_Yxsmxcb"),
                             prefix + QStringLiteral("_Yxszffs"), true};
        for (const Tables& t : {sale, preSale})
            if (store.tableExists(t.header))
                found.append(t);
    }
    return found;
}

struct Document {
    QString cashier;
    QString collectedBy; // the document that collected this one
};

class Reader {
public:
    Reader(Database& store, const QString& day) : store_(store), day_(day) {}

    bool read(const Tables& t, QString* error)
    {
        DataPacket docs;
        if (!store_.query(
                QStringLiteral("SELECT h.f_Djh, h.f_Syybm, h.f_Syymc, h.f_Xsje, h.f_Djje, h.f_Xjje, "
                               "h.f_Gqbz, h.f_Xsbz, (SELECT COUNT(*) FROM %2 l WHERE l.f_Djh = "
                               "h.f_Djh), (SELECT COALESCE(SUM(l.f_Zdzkzr), 0) FROM %2 l WHERE "
                               "l.f_Djh = h.f_Djh), (SELECT COALESCE(SUM(l.f_Sgzkzr), 0) FROM %2 l "
                               "WHERE l.f_Djh = h.f_Djh) FROM %1 h WHERE h.f_Rzrq = ?")
                    .arg(t.header, t.lines),
                {day_}, &docs, error))
            return false;
        static const QRegularExpression collectedBy(QStringLiteral("统收单据(\\d+)"));
        for (int r = 0; r < docs.rowCount(); ++r) {
            const QString number = docs.value(r, 0).toString();
            CashierDay& c = cashier(docs.value(r, 1).toString(), docs.value(r, 2).toString());
            ++c.documents;
            c.lines += docs.value(r, 8).toInt();
            c.total += docs.value(r, 3).toDouble();
            c.autoDiscount += docs.value(r, 9).toDouble();
            c.manualDiscount += docs.value(r, 10).toDouble();
            if (t.preSale) {
                ++c.deposits;
                c.depositAmount += docs.value(r, 4).toDouble();
            }
            if (docs.value(r, 6).toInt() == 1) {
                // The cash of a suspended document's suspension entry was never
                // taken: it is what the collecting document takes.
                DataPacket owed;
                if (!store_.query(OwedAmountSql(t.header, t.payments), {number}, &owed, error))
                    return false;
                ++c.suspended;
                c.suspendedAmount += owed.value(0, 0).toDouble(); // f_Xjje without payment rows
            }
            Document& d = documents_[number];
            d.cashier = c.cashier;
            const QRegularExpressionMatch m = collectedBy.match(docs.value(r, 7).toString());
            if (m.hasMatch())
                d.collectedBy = m.captured(1);
        }

        DataPacket pay;
        if (!store_.query(
                QStringLiteral("SELECT p.f_Djh, p.f_Zffs, p.f_Zfje, p.f_Hykh FROM %1 p JOIN %2 h ON "
                               "h.f_Djh = p.f_Djh WHERE h.f_Rzrq = ? ORDER BY p.f_Djh, p.f_Xh")
                    .arg(t.payments, t.header),
                {day_}, &pay, error))
            return false;
        for (int r = 0; r < pay.rowCount(); ++r) {
            const QString number = pay.value(r, 0).toString();
            const int type = pay.value(r, 1).toInt();
            const double amount = pay.value(r, 2).toDouble();
            const QString card = pay.value(r, 3).toString().trimmed();
            CashierDay& c = byCode_[documents_.value(number).cashier];
            if (type == paytype::Change) {
                c.change += amount;
            } else if (type == paytype::Cash && amount < 0) { // the collection row
                c.collectedAmount -= amount;
            } else {
                c.payments[type] += amount;
                if (type == paytype::CustomerAccount)
                    c.customerAccounts[card] += amount;
                if (type == paytype::MemberCard || type == paytype::Certificate)
                    cards_.append({number, c.cashier, type, card, amount});
            }
        }
        return true;
    }

    bool readGrants(QString* error)
    {
        const QDate day = QDate::fromString(day_, QStringLiteral("yyyyMMdd"));
        DataPacket grants;
        // A document's grants come before it is recorded, possibly the day
        // before.
        if (!store_.query(QStringLiteral("SELECT DISTINCT g.f_Djh, g.f_Qxbm, g.f_Sqr, COALESCE(z.f_Zymc, '') "
                                         "FROM tbHostGrant g LEFT JOIN tbZyda z ON z.f_Zybm = g.f_Sqr WHERE "
                                         "g.f_Sj >= ? AND g.f_Sj < ? ORDER BY 1, 2, 3"),
                          {day.addDays(-1).toString(QStringLiteral("yyyy-MM-dd")),
                           day.addDays(1).toString(QStringLiteral("yyyy-MM-dd"))},
                          &grants, error))
            return false;
        for (int r = 0; r < grants.rowCount(); ++r) {
            const auto d = documents_.constFind(grants.value(r, 0).toString());
            if (d == documents_.constEnd())
                continue;
            byCode_[d->cashier].grants.append({d.key(), grants.value(r, 1).toString(),
                                               grants.value(r, 2).toString(), grants.value(r, 3).toString()});
        }
        return true;
    }

    void finish(const QString& only, DayReport* report, QList<StoredCardPayment>* cards)
    {
        for (const Document& d : std::as_const(documents_)) {
            const auto collector = documents_.constFind(d.collectedBy);
            if (collector != documents_.constEnd())
                ++byCode_[collector->cashier].collected;
        }
        report->day = day_;
        report->cashiers.clear();
        report->total = CashierDay();
        for (CashierDay& c : byCode_) {
            if (!only.isEmpty() && c.cashier != only)
                continue;
            Round(c);
            report->cashiers.append(c);
            Add(report->total, c);
        }
        Round(report->total);
        if (cards) {
            cards->clear();
            for (const StoredCardPayment& p : std::as_const(cards_))
                if (only.isEmpty() || p.cashier == only)
                    cards->append(p);
        }
    }

private:
    CashierDay& cashier(const QString& code, const QString& name)
    {
        CashierDay& c = byCode_[code];
        c.cashier = code;
        if (c.name.isEmpty())
            c.name = name;
        return c;
    }

    static void Round(CashierDay& c)
    {
        for (double* v : {&c.total, &c.change, &c.depositAmount, &c.suspendedAmount, &c.collectedAmount,
                          &c.autoDiscount, &c.manualDiscount})
            *v = RoundMoney(*v);
        for (double& v : c.payments)
            v = RoundMoney(v);
        for (double& v : c.customerAccounts)
            v = RoundMoney(v);
    }

    static void Add(CashierDay& sum, const CashierDay& c)
    {
        sum.documents += c.documents;
        sum.lines += c.lines;
        sum.total += c.total;
        for (auto it = c.payments.cbegin(); it != c.payments.cend(); ++it)
            sum.payments[it.key()] += it.value();
        sum.change += c.change;
        sum.deposits += c.deposits;
        sum.depositAmount += c.depositAmount;
        sum.suspended += c.suspended;
        sum.suspendedAmount += c.suspendedAmount;
        sum.collected += c.collected;
        sum.collectedAmount += c.collectedAmount;
        for (auto it = c.customerAccounts.cbegin(); it != c.customerAccounts.cend(); ++it)
            sum.customerAccounts[it.key()] += it.value();
        sum.autoDiscount += c.autoDiscount;
        sum.manualDiscount += c.manualDiscount;
        sum.grants += c.grants;
    }

    Database& store_;
    QString day_;
    QMap<QString, CashierDay> byCode_;
    QHash<QString, Document> documents_;
    QList<StoredCardPayment> cards_;
};

} // namespace

const QList<PaymentTypeName>& PaymentTypeNames()
{
    static const QList<PaymentTypeName> names = {
        {paytype::Cash, "现金"},
        {paytype::Transfer, "转帐"},
        {paytype::Coupon, "券类"},
        {paytype::BankCard, "信用卡"},
        {paytype::MemberCard, "会员卡"},
        {paytype::Certificate, "福利证"},
        {paytype::CustomerAccount, "消费"},
    };
    return names;
}

double CashierDay::cashToHandIn() const
{
    return RoundMoney(payment(paytype::Cash) - change - suspendedAmount);
}

bool IsDayText(const QString& day)
{
    static const QRegularExpression digits(QStringLiteral("^\\d{8}$"));
    return digits.match(day).hasMatch() && QDate::fromString(day, QStringLiteral("yyyyMMdd")).isValid();
}

bool ReadDayReport(Database& store, const DayReportQuery& query, DayReport* report,
                   QList<StoredCardPayment>* cardPayments, QString* error)
{
    if (!IsDayText(query.day)) {
        *error = QStringLiteral("日期%1不是YYYYMMDD格式的日期").arg(query.day);
        return false;
    }
    if (!query.cashier.isEmpty()) {
        QVariant v;
        bool found = false;
        if (!store.scalar(QStringLiteral("SELECT 1 FROM tbZyda WHERE f_Zybm = ?"), {query.cashier}, &v,
                          &found, error))
            return false;
        if (!found) {
            *error = QStringLiteral("收银员%1不存在").arg(query.cashier);
            return false;
        }
    }
    Reader reader(store, query.day);
    for (const Tables& t : MonthTables(store, QDate::fromString(query.day, QStringLiteral("yyyyMMdd"))))
        if (!reader.read(t, error))
            return false;
    if (!reader.readGrants(error))
        return false;
    reader.finish(query.cashier, report, cardPayments);
    return true;
}

} // namespace qiantai::host
