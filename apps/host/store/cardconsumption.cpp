#include "cardconsumption.h"

#include "docnumbers.h"

#include <QStringList>

namespace qiantai::host {

bool RecordConsumption(HostContext& ctx, const QVariantList& request, QString* serial, QString* message)
{
    if (request.size() < 8) {
        *message = QStringLiteral("卡消费记录不完整：至少应有8项，收到%1项").arg(request.size());
        return false;
    }
    const QString type = request[0].toString().trimmed();
    if (type != QLatin1String("2") && type != QLatin1String("3")) {
        *message = QStringLiteral("卡消费类型") + type + QStringLiteral("不正确（2 信用卡，3 福利证）");
        return false;
    }
    auto text = [&](int i) { return request.value(i).toString(); };
    if (text(2).trimmed().isEmpty()) {
        *message = QStringLiteral("卡消费记录没有单据号");
        return false;
    }
    QStringList rest;
    for (int i = 8; i < request.size(); ++i)
        rest.append(text(i));
    const QString day = ctx.today();
    if (!ctx.store->begin(message))
        return false;
    TransactionGuard guard(*ctx.store);
    qint64 n = 0;
    if (!NextCounter(*ctx.store, QStringLiteral("KXF"), day, &n, message))
        return false;
    const QString lsh = day + QStringLiteral("%1").arg(n, 6, 10, QLatin1Char('0'));
    if (!ctx.store->exec(
            QStringLiteral("INSERT INTO tbKxfls (f_Lsh, f_Klx, f_Bmbm, f_Djh, f_Jydm, f_Khxx, f_Jyje, "
                           "f_Jysk, f_Jyrq, f_Qt, f_Sj) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            {lsh, type, text(1).left(20), text(2).left(20), text(3).left(20), text(4).left(40),
             text(5).left(20), text(6).left(10), text(7).left(10), rest.join(QLatin1Char('\t')), ctx.stamp()},
            message))
        return false;
    if (!guard.commit(message))
        return false;
    *serial = lsh;
    return true;
}

} // namespace qiantai::host
