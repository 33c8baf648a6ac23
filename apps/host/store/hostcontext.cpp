#include "hostcontext.h"

namespace qiantai::host {

QDateTime HostContext::now() const
{
    return clock->now();
}

QString HostContext::today() const
{
    return now().toString(QStringLiteral("yyyyMMdd"));
}

QString HostContext::nowText() const
{
    return now().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString HostContext::stamp() const
{
    return now().toString(QStringLiteral("yyyyMMddHHmmss"));
}

bool StoreAccountingMonth(Database& store, QString* yyyymm, QString* error)
{
    QVariant v;
    bool found = false;
    if (!store.scalar(QStringLiteral("SELECT f_Value FROM tbHostInfo WHERE f_Key = 'dqny'"), {}, &v, &found,
                      error))
        return false;
    if (!found || v.toString().size() != 6) {
        *error = QStringLiteral("门店数据库没有设置当前会计年月");
        return false;
    }
    *yyyymm = v.toString();
    return true;
}

bool HostContext::accountingMonth(QString* yyyymm, QString* error)
{
    if (sessionMonth.isEmpty())
        return refreshAccountingMonth(yyyymm, error);
    *yyyymm = sessionMonth;
    return true;
}

bool HostContext::refreshAccountingMonth(QString* yyyymm, QString* error)
{
    if (!StoreAccountingMonth(*store, yyyymm, error))
        return false;
    sessionMonth = *yyyymm;
    return true;
}

QString NextMonth(const QString& yyyymm)
{
    int y = yyyymm.left(4).toInt(), m = yyyymm.mid(4).toInt() + 1;
    if (m == 13) {
        m = 1;
        ++y;
    }
    return QStringLiteral("%1%2").arg(y, 4, 10, QLatin1Char('0')).arg(m, 2, 10, QLatin1Char('0'));
}

QString HostContext::centreCode() const
{
    if (!centre)
        return {};
    QVariant v;
    bool found = false;
    QString error;
    if (!centre->scalar(QStringLiteral("SELECT f_Value FROM tbHostInfo WHERE f_Key = 'pszxbm'"), {}, &v,
                        &found, &error) ||
        !found)
        return {};
    return v.toString();
}

bool SetAccountingMonth(Database& store, const QString& yyyymm, QString* error)
{
    if (!store.ensureMonth(yyyymm, error))
        return false;
    const QString sql = QStringLiteral("INSERT INTO tbHostInfo (f_Key, f_Value) VALUES ('dqny', ?) "
                                       "ON CONFLICT (f_Key) DO UPDATE SET f_Value = excluded.f_Value");
    return store.exec(sql, {yyyymm}, error);
}

bool AdvanceAccountingMonth(HostContext& ctx, QString* error)
{
    const QString month = ctx.now().toString(QStringLiteral("yyyyMM"));
    QString current;
    QString ignored;
    if (!StoreAccountingMonth(*ctx.store, &current, &ignored)) {
        if (!SetAccountingMonth(*ctx.store, month, error))
            return false;
        return ctx.refreshAccountingMonth(&current, error);
    }
    if (!ctx.store->ensureMonth(current, error))
        return false;
    // Month by month, so that each carries the balances of the one before.
    while (current < month) {
        current = NextMonth(current);
        if (!SetAccountingMonth(*ctx.store, current, error))
            return false;
    }
    return ctx.refreshAccountingMonth(&current, error);
}

} // namespace qiantai::host
