#include "screens/checkout/customeraccount.h"

#include "hostcalls/hostservice.h"
#include "sale/sqlquote.h"
#include "sale/tablenames.h"

namespace qiantai {

QString CustomerAccountSql(const QString& dqny, const QString& code)
{
    const QString totals = MonthlyTableName(dqny, QStringLiteral("mdkhwlyhj"));
    if (totals.isEmpty())
        return {};
    return QStringLiteral("Select A.f_Khbm,A.f_Khmc,IsNull(B.f_Qcye,0) f_Qcye,IsNull(B.f_Skje,0) f_Skje,"
                          "IsNull(B.f_Sxje,0) f_Sxje From tbMdkhda A Left Join ") +
           totals + QStringLiteral(" B ") + QStringLiteral("On A.f_Khbm = B.f_Khbm Where A.f_Khbm = ") +
           SqlQuote(code) + QStringLiteral(" ");
}

bool LookupStoreCustomer(HostService& host, const QString& dqny, const QString& code, QString& name)
{
    const QString sql = CustomerAccountSql(dqny, code.trimmed());
    if (sql.isEmpty())
        return false;
    DataPacket rows;
    if (!host.OpenQuery(sql, rows) || rows.isEmpty())
        return false;
    name = rows.value(0, QStringLiteral("f_Khmc")).toString();
    return true;
}

} // namespace qiantai
