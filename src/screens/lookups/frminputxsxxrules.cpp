#include "screens/lookups/frminputxsxxrules.h"

#include "hostcalls/hostservice.h"
#include "sale/salesession.h"
#include "sale/sqlquote.h"

namespace qiantai {

QString SalesMethodOptionText(int xsfs)
{
    switch (xsfs) {
    case 0:
        return QStringLiteral("[0] 门店自提销售");
    case 1:
        return QStringLiteral("[1] 门店送货销售");
    case 2:
        return QStringLiteral("[2] 带货安装销售");
    case 3:
        return QStringLiteral("[3] 统一配送销售");
    default:
        return QString();
    }
}

QString SalesMethodChoiceText(int xsfs)
{
    return QStringLiteral("选择[%1]项").arg(xsfs);
}

int NextSalesMethod(int xsfs)
{
    return (xsfs + 1) % SalesMethodCount;
}

int PreviousSalesMethod(int xsfs)
{
    return (xsfs + SalesMethodCount - 1) % SalesMethodCount;
}

QString CounterGroupStatement(const QString& dybm, const QString& code)
{
    return QStringLiteral("Select f_Bmbm,f_Bmmc From tbBmda Where f_Bmbm Like ") +
           SqlQuote(dybm + QLatin1Char('%')) + QStringLiteral(" And f_Bmbm = ") + SqlQuote(code) +
           QStringLiteral(" And f_Bmbm <> ") + SqlQuote(dybm) + QStringLiteral(" And f_Mj = 1 ");
}

QString WarehouseStatement(const QString& code)
{
    return QStringLiteral("Select f_Ckbm,f_Ckmc From tbCkda Where f_Ckbm = ") + SqlQuote(code) +
           QStringLiteral(" ");
}

QString SalesInfoCaption()
{
    return QStringLiteral("提  示");
}

bool ApplyCounterGroupRule(HostService& host, SaleSession& s, const QString& typed, QString& message)
{
    const QString code = typed.trimmed();
    if (code.isEmpty()) {
        message = QStringLiteral("连锁商场模式下，必须输入柜组编码");
        return false;
    }
    DataPacket rows;
    if (!host.OpenQuery(CounterGroupStatement(s.Dybm, code), rows)) {
        message = QStringLiteral("取柜组信息时出错");
        return false;
    }
    if (rows.isEmpty()) {
        message = QStringLiteral("该柜组信息不存在");
        return false;
    }
    s.Gzbm = rows.value(0, QStringLiteral("f_Bmbm")).toString();
    s.Gzmc = rows.value(0, QStringLiteral("f_Bmmc")).toString();
    return true;
}

bool ApplySalespersonRule(HostService& host, SaleSession& s, const QString& code)
{
    QString name, kind;
    QVariant status;
    if (!host.LookupEmployee(code, name, kind, status))
        return false;
    bool numeric = false;
    switch (status.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Short:
    case QMetaType::UShort:
        numeric = true;
        break;
    default:
        break;
    }
    if (kind != QLatin1String("3") || !numeric || status.toDouble() != 1.0)
        return false;
    s.Yyybm = code;
    s.Yyymc = name;
    return true;
}

WarehouseOutcome ApplyWarehouseRule(HostService& host, SaleSession& s, const QString& typed, QString& message)
{
    const QString code = typed.trimmed();
    if (code.isEmpty())
        return WarehouseOutcome::Empty;
    DataPacket rows;
    if (!host.OpenCentreQuery(WarehouseStatement(code), s.Pszxbm, rows)) {
        message = QStringLiteral("取仓库信息时出错");
        return WarehouseOutcome::Refused;
    }
    if (rows.isEmpty()) {
        message = QStringLiteral("该仓库信息不存在");
        return WarehouseOutcome::Refused;
    }
    s.Ckbm = rows.value(0, QStringLiteral("f_Ckbm")).toString();
    s.Ckmc = rows.value(0, QStringLiteral("f_Ckmc")).toString();
    return WarehouseOutcome::Found;
}

} // namespace qiantai
