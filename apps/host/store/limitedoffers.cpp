#include "limitedoffers.h"

namespace qiantai::host {
namespace {

QString Qty(double v)
{
    return QString::number(v, 'g', 12);
}

// Quantity reserved for an offer in one database, leaving out one line of
// one document; pending reservations count on the day they were made.
bool Reserved(Database& db, const QString& offer, const QString& today, const QString& document, int line,
              bool wholeDocument, double* sum, QString* message)
{
    QVariant v;
    bool found = false;
    const QString sql =
        wholeDocument ? QStringLiteral("SELECT COALESCE(SUM(f_Sl), 0) FROM tbXsxlqK WHERE f_Xlbh = ? AND "
                                       "(f_Zt = 1 OR f_Rq = ?) AND f_Djh <> ?")
                      : QStringLiteral("SELECT COALESCE(SUM(f_Sl), 0) FROM tbXsxlqK WHERE f_Xlbh = ? AND "
                                       "(f_Zt = 1 OR f_Rq = ?) AND NOT (f_Djh = ? AND f_Dnxh = ?)");
    QVariantList binds{offer, today, document};
    if (!wholeDocument)
        binds.append(line);
    if (!db.scalar(sql, binds, &v, &found, message))
        return false;
    *sum += v.toDouble();
    return true;
}

} // namespace

bool QueryOffer(HostContext& ctx, const OfferRequest& rq, OfferAnswer* answer, QString* message)
{
    if (rq.mode != QLatin1String("0") && rq.mode != QLatin1String("1") && rq.mode != QLatin1String("2")) {
        *message = QStringLiteral("限时限量查询方式") + rq.mode + QStringLiteral("不正确");
        return false;
    }
    if (rq.document.trimmed().isEmpty()) {
        *message = QStringLiteral("没有单据号，不能查询限时限量");
        return false;
    }
    Database* reservations = rq.centre ? ctx.centre : ctx.store;
    if (!reservations) {
        *message = QStringLiteral("配送中心未配置，不能查询限时限量");
        return false;
    }
    const QString today = ctx.today();
    DataPacket offers;
    if (!ctx.store->query(
            QStringLiteral("SELECT f_Xlbh, f_Xlj, f_Xlsl, f_Tgj FROM tbXsxl WHERE f_Spbm = ? AND "
                           "f_Ksrq <= ? AND f_Jsrq >= ? AND "
                           "substr(CAST(? AS VARCHAR(20)), 1, length(f_Bmbm)) = f_Bmbm ORDER BY f_Xlbh"),
            {rq.product, today, today, rq.department}, &offers, message))
        return false;
    if (offers.rowCount() == 0) {
        *message = QStringLiteral("商品") + rq.product + QStringLiteral("今天没有限时限量活动");
        return false;
    }
    const QString offer = offers.value(0, 0).toString();
    const double limit = offers.value(0, 2).toDouble();
    QString ny;
    if (!ctx.accountingMonth(&ny, message))
        return false;

    // One till at a time counts and reserves an offer.
    if (!ctx.store->begin(message))
        return false;
    TransactionGuard guard(*ctx.store);
    if (ctx.store->backend() == SqlBackend::Postgres &&
        !ctx.store->exec(QStringLiteral("SELECT 1 FROM tbXsxl WHERE f_Xlbh = ? FOR UPDATE"), {offer},
                         message))
        return false;

    double taken = 0;
    const bool shortfall = rq.mode == QLatin1String("2");
    for (Database* db : {ctx.store, ctx.centre}) {
        if (db && !Reserved(*db, offer, today, rq.document, rq.linePosition, shortfall, &taken, message))
            return false;
    }
    const double wanted = shortfall ? rq.quantity + rq.otherLines : rq.quantity;
    const double left = limit - taken;
    if (wanted > left + 1e-6) {
        *message = QStringLiteral("限时限量商品") + rq.product + QStringLiteral("剩余") +
                   Qty(left < 0 ? 0 : left) + QStringLiteral("件，本次需要") + Qty(wanted);
        if (!shortfall) {
            QString ignored;
            reservations->exec(
                QStringLiteral("DELETE FROM tbXsxlqK WHERE f_Ny = ? AND f_Djh = ? AND f_Dnxh = ? "
                               "AND f_Zt = 0"),
                {ny, rq.document, rq.linePosition}, &ignored);
            guard.commit(&ignored);
        }
        return false;
    }
    if (!shortfall) {
        const QString sql = QStringLiteral("INSERT INTO tbXsxlqK (f_Ny, f_Djh, f_Dnxh, f_Spbm, f_Xlbh, f_Sl, "
                                           "f_Rq, f_Zt) VALUES (?, ?, ?, ?, ?, ?, ?, 0) "
                                           "ON CONFLICT (f_Ny, f_Djh, f_Dnxh) DO UPDATE SET f_Spbm = "
                                           "excluded.f_Spbm, f_Xlbh = excluded.f_Xlbh, "
                                           "f_Sl = excluded.f_Sl, f_Rq = excluded.f_Rq");
        if (!reservations->exec(
                sql, {ny, rq.document, rq.linePosition, rq.product, offer, rq.quantity, today}, message))
            return false;
    }
    if (!guard.commit(message))
        return false;
    answer->price = offers.value(0, 1).toDouble();
    answer->value = offers.value(0, 3).toDouble();
    return true;
}

} // namespace qiantai::host
