#include "hostcalls/vornaclass.h"

#include "base/commonhelpers.h"
#include "base/numbertext.h"
#include "hostcalls/sysparamrules.h"

#include <cmath>
#include <optional>
#include <type_traits>

namespace qiantai {

namespace {

constexpr int EmployeeKind = 1;

// f_Csz of the first row whose f_Csmc is `key`.
std::optional<QString> findValue(const DataPacket& table, const QString& key, bool exactKey)
{
    const int keyColumn = table.columnIndex(QStringLiteral("f_Csmc"));
    const int valueColumn = table.columnIndex(QStringLiteral("f_Csz"));
    if (keyColumn < 0)
        return std::nullopt;
    const Qt::CaseSensitivity cs = exactKey ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (int r = 0; r < table.rowCount(); ++r)
        if (table.value(r, keyColumn).toString().compare(key, cs) == 0)
            return table.value(r, valueColumn).toString();
    return std::nullopt;
}

bool toInteger(const QString& text, int& out, QString& error)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok, 10);
    if (!ok) {
        error = QStringLiteral("'%1' is not a valid integer value").arg(text);
        return false;
    }
    out = n;
    return true;
}

bool toFloat(const QString& text, double& out, QString& error)
{
    return TextToFloat(text, out, error);
}

// Converts `text` as the rule says and stores it; false with the conversion's
// text in `error`, leaving the field as it was.
bool store(const SysParamRule& rule, const QString& text, TSysParamRecord& record, QString& error)
{
    return std::visit(
        [&](auto member) -> bool {
            auto& field = record.*member;
            using Field = std::remove_reference_t<decltype(field)>;
            if constexpr (std::is_same_v<Field, QString>) {
                switch (rule.form) {
                case TextForm::AsStored:
                    field = text;
                    return true;
                case TextForm::OneOrZero:
                    field = text == QLatin1String("1") ? QStringLiteral("1") : QStringLiteral("0");
                    return true;
                case TextForm::DecimalFormat: {
                    int digits = 0;
                    if (!toInteger(text, digits, error))
                        return false;
                    field = QStringLiteral("0.") + PadNumber(digits, true, 0);
                    return true;
                }
                }
                return false;
            } else if constexpr (std::is_same_v<Field, int>) {
                return toInteger(text, field, error);
            } else if constexpr (std::is_same_v<Field, double>) {
                return toFloat(text, field, error);
            } else {
                field = text == QLatin1String("1");
                return true;
            }
        },
        rule.field);
}

bool apply(const SysParamRule& rule, const DataPacket& table, const QString& unitType,
           TSysParamRecord& record, QString& message)
{
    if (rule.onlyWhen && !(record.*rule.onlyWhen))
        return store(rule, QStringLiteral("0"), record, message);
    std::optional<QString> value = findValue(table, QString::fromLatin1(rule.key), rule.exactKey);
    if (value && rule.blankIsFallback && value->trimmed().isEmpty())
        value.reset();
    if (!value) {
        if (!rule.fallback || (rule.fallbackForUnitType && !rule.fallbackForUnitType(unitType))) {
            message = QString::fromUtf8(rule.failure);
            return false;
        }
        value = QString::fromUtf8(rule.fallback);
    }
    return store(rule, *value, record, message);
}

} // namespace

TVornaClass::TVornaClass(ICoorDisp* host, WarningCallback warn) : host_(host)
{
    if (!host_.GetDatabaseType(databaseType_)) {
        if (warn)
            warn(QStringLiteral("警告"), QStringLiteral("获取数据库类型失败!"));
        databaseType_ = QStringLiteral("SQLSERVER");
    }
}

QString TVornaClass::failureText(const char* message) const
{
    if (host_.lastStatus() == HostCallStatus::Raised)
        return host_.lastError().toString();
    return QString::fromUtf8(message);
}

bool TVornaClass::LoadParameters(TSysParamRecord& record, const TSysParamSet& request, QString& message)
{
    message.clear();
    record.DatabaseType = databaseType_;

    if (request.contains(SysParam::CurrentYearMonth)) {
        QString yearMonth;
        if (!host_.GetCurrentYearMonth(yearMonth)) {
            message = failureText("取得当前年月时出错！");
            return false;
        }
        record.CurrentYearMonth = yearMonth;
    }
    if (request.contains(SysParam::CurrentDateTime)) {
        QString dateTime;
        if (!host_.GetCurrentDateTime(dateTime)) {
            message = failureText("取得当前日期时间时出错！");
            return false;
        }
        record.CurrentDateTime = dateTime;
    }
    if (request.contains(SysParam::CurrentDate)) {
        QString date;
        if (!host_.GetCurrentDate(date)) {
            message = failureText("取得当前日期时出错！");
            return false;
        }
        record.CurrentDate = date.left(8);
    }
    if (request.contains(SysParam::OperatorName) && !record.OperatorCode.isEmpty()) {
        DataPacket employee;
        const bool found = host_.LookupByCode(EmployeeKind, record.OperatorCode, employee);
        // An answer without the employee's row cannot name the operator.
        if (!found || employee.isEmpty() || !employee.hasColumn(QStringLiteral("f_zymc"))) {
            message = failureText("取得制单人名称时出错！！");
            return false;
        }
        table_ = employee;
        record.OperatorName = table_.value(0, QStringLiteral("f_zymc")).toString();
    }

    TSysParamSet rest = request;
    rest.remove(SysParam::CurrentYearMonth);
    rest.remove(SysParam::CurrentDate);
    rest.remove(SysParam::OperatorName);
    if (rest.isEmpty())
        return true;

    DataPacket rows;
    if (!host_.GetSystemParameters(rows)) {
        message = failureText("取得系统参数时出错！");
        return false;
    }
    table_ = rows;

    const std::optional<QString> unitType = findValue(table_, QStringLiteral("dwlx"), false);
    if (!unitType) {
        message = QStringLiteral("没有可利用的单位类型！");
        return false;
    }
    record.dwlx = *unitType;
    unitType_ = *unitType;

    for (const SysParamRule& rule : SysParamRules())
        if (request.contains(rule.member) && !apply(rule, table_, unitType_, record, message))
            return false;
    return true;
}

} // namespace qiantai
