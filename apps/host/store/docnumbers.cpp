#include "docnumbers.h"

namespace qiantai::host {

bool NextCounter(Database& db, const QString& kind, const QString& key, qint64* value, QString* message)
{
    const QString sql = QStringLiteral("INSERT INTO tbHostCounter (f_Lx, f_Jz, f_Xh) VALUES (?, ?, 1) "
                                       "ON CONFLICT (f_Lx, f_Jz) DO UPDATE SET f_Xh = tbHostCounter.f_Xh + 1 "
                                       "RETURNING f_Xh");
    QVariant v;
    bool found = false;
    if (!db.scalar(sql, {kind, key}, &v, &found, message))
        return false;
    if (!found) {
        *message = QStringLiteral("单据号计数器没有返回值");
        return false;
    }
    *value = v.toLongLong();
    return true;
}

bool AllocateNumber(HostContext& ctx, NumberKind kind, const QString& cashier, const QString& group,
                    QString* number, QString* message)
{
    QVariant v;
    bool found = false;
    if (!ctx.store->scalar(QStringLiteral("SELECT f_Zt FROM tbZyda WHERE f_Zybm = ?"), {cashier}, &v, &found,
                           message))
        return false;
    if (!found || v.toInt() != 1) {
        *message = QStringLiteral("收银员") + cashier +
                   (found ? QStringLiteral("已停用") : QStringLiteral("不存在")) +
                   QStringLiteral("，不能取单据号");
        return false;
    }
    if (!ctx.store->scalar(QStringLiteral("SELECT 1 FROM tbBmda WHERE f_Bmbm = ?"), {group}, &v, &found,
                           message))
        return false;
    if (!found) {
        *message = QStringLiteral("柜组") + group + QStringLiteral("在部门档案中不存在，不能取单据号");
        return false;
    }
    QString month;
    if (!ctx.accountingMonth(&month, message))
        return false;

    // A number already used (documents loaded from elsewhere) is skipped.
    for (int attempt = 0; attempt < 1000; ++attempt) {
        qint64 n = 0;
        QString candidate;
        if (kind == NumberKind::Sale) {
            if (!NextCounter(*ctx.store, QStringLiteral("XS"), QStringLiteral(""), &n, message))
                return false;
            if (n > 9999999999LL) {
                *message = QStringLiteral("销售单据号已用完");
                return false;
            }
            candidate = QStringLiteral("%1").arg(n, 10, 10, QLatin1Char('0'));
        } else {
            if (!NextCounter(*ctx.store, QStringLiteral("YXS"), month, &n, message))
                return false;
            if (n > 999999) {
                *message = QStringLiteral("本月预销售单据号已用完（") + month + QStringLiteral("）");
                return false;
            }
            candidate = month + QStringLiteral("%1").arg(n, 6, 10, QLatin1Char('0'));
        }
        const QString header =
            kind == NumberKind::Sale ? QStringLiteral("_Xsmxzb") : QStringLiteral("_Yxsmxzb");
        if (!ctx.store->scalar(QStringLiteral("SELECT 1 FROM tb") + month + header +
                                   QStringLiteral(" WHERE f_Djh = ?"),
                               {candidate}, &v, &found, message))
            return false;
        if (found)
            continue;
        if (!ctx.store->exec(QStringLiteral("INSERT INTO tbHostDjhLog (f_Djh, f_Lx, f_Syybm, f_Gzbm, f_Sj) "
                                            "VALUES (?, ?, ?, ?, ?)"),
                             {candidate,
                              kind == NumberKind::Sale ? QStringLiteral("XS") : QStringLiteral("YXS"),
                              cashier, group, ctx.stamp()},
                             message))
            return false;
        *number = candidate;
        return true;
    }
    *message = QStringLiteral("找不到可用的单据号");
    return false;
}

} // namespace qiantai::host
