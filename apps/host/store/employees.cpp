#include "employees.h"

#include "passwords.h"

namespace qiantai::host {

bool VerifyEmployeePassword(HostContext& ctx, const QString& code, const QString& password, QString* message)
{
    DataPacket p;
    if (!ctx.store->query(QStringLiteral("SELECT f_Mmhx, f_Zt FROM tbZyda WHERE f_Zybm = ?"),
                          {code.trimmed()}, &p, message))
        return false;
    if (p.rowCount() == 0) {
        *message = QStringLiteral("职员") + code + QStringLiteral("不存在");
        return false;
    }
    if (p.value(0, 1).toInt() != 1) {
        *message = QStringLiteral("职员") + code + QStringLiteral("已停用");
        return false;
    }
    if (!CheckPassword(p.value(0, 0).toString(), password)) {
        *message = QStringLiteral("职员") + code + QStringLiteral("的密码不正确");
        return false;
    }
    return true;
}

bool HasRight(HostContext& ctx, const QString& code, const QString& right)
{
    QVariant v;
    bool found = false;
    QString error;
    return ctx.store->scalar(QStringLiteral("SELECT 1 FROM tbZyqx q JOIN tbZyda z ON z.f_Zybm = q.f_Zybm "
                                            "WHERE q.f_Zybm = ? AND q.f_Qxbm = ? AND z.f_Zt = 1"),
                             {code.trimmed(), right.trimmed()}, &v, &found, &error) &&
           found;
}

bool RecordGrant(HostContext& ctx, const QString& document, const QString& cashier, const QString& employee,
                 const QString& right, QString* message)
{
    return ctx.store->exec(
        QStringLiteral(
            "INSERT INTO tbHostGrant (f_Djh, f_Syybm, f_Sqr, f_Qxbm, f_Sj) VALUES (?, ?, ?, ?, ?)"),
        {document, cashier, employee, right, ctx.nowText()}, message);
}

bool FindEmployee(HostContext& ctx, const QString& code, EmployeeInfo* info, QString* message)
{
    DataPacket p;
    if (!ctx.store->query(QStringLiteral("SELECT f_Zymc, f_Zylx, f_Zt FROM tbZyda WHERE f_Zybm = ?"), {code},
                          &p, message))
        return false;
    if (p.rowCount() == 0) {
        *message = QStringLiteral("职员") + code + QStringLiteral("不存在");
        return false;
    }
    info->name = p.value(0, 0).toString();
    info->type = p.value(0, 1).toString();
    info->status = p.value(0, 2).toInt();
    return true;
}

bool EmployeeRecord(HostContext& ctx, const QString& code, DataPacket* out, QString* message)
{
    if (!ctx.store->query(
            QStringLiteral("SELECT f_Zybm, f_Zymc, f_Zylx, f_Zt, f_Bmbm FROM tbZyda WHERE f_Zybm = ?"),
            {code}, out, message))
        return false;
    if (out->rowCount() == 0) {
        *message = QStringLiteral("职员") + code + QStringLiteral("不存在");
        return false;
    }
    return true;
}

bool OperatorTag(HostContext& ctx, const QString& code, QString* tag, QString* message)
{
    EmployeeInfo info;
    if (!FindEmployee(ctx, code, &info, message))
        return false;
    if (info.status != 1) {
        *message = QStringLiteral("收银员") + code + QStringLiteral("已停用，不能收银");
        return false;
    }
    *tag = ctx.today() + QLatin1Char('-') + code;
    return true;
}

} // namespace qiantai::host
