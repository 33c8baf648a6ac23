#include "storefixture.h"

#include "qiantai/dispids.h"

namespace qiantai::test {

namespace {

DataPacket dateRow(const QString& column, const QDateTime& when)
{
    DataPacket p;
    p.addColumn(column, FieldType::DateTime);
    p.appendRow({when});
    return p;
}

} // namespace

StoreFixture::StoreFixture()
{
    parameters = {
        {QStringLiteral("dwlx"), QStringLiteral("02")},
        {QStringLiteral("qyny"), QStringLiteral("200401")},
        {QStringLiteral("dwmc"), QStringLiteral("家电连锁")},
        {QStringLiteral("dybm"), QStringLiteral("0101")},
        {QStringLiteral("sjkbbh"), QStringLiteral("6.0")},
        {QStringLiteral("xsfkz"), QStringLiteral("0")},
        {QStringLiteral("kckz"), QStringLiteral("1")},
        {QStringLiteral("hyklwms"), QStringLiteral("0")},
        {QStringLiteral("yckqzj"), QStringLiteral("")},
    };
    employees[QStringLiteral("1001")] = {cashierName};
    employees[QStringLiteral("2001")] = {QStringLiteral("李四")};
    counterGroups[QStringLiteral("010101")] = QStringLiteral("彩电柜");
    warehouses[QStringLiteral("01")] = QStringLiteral("中心一库");

    on(dispid::GetDatabaseType, [this](QVariantList&) { return QVariant(databaseType); });
    on(dispid::GetCurrentYearMonth, [this](QVariantList& a) {
        a[0] = currentYearMonth;
        return QVariant(true);
    });
    on(dispid::GetSystemParameters, [this](QVariantList& a) {
        DataPacket p = table({QStringLiteral("f_Csmc"), QStringLiteral("f_Csz")});
        for (auto it = parameters.begin(); it != parameters.end(); ++it)
            p.appendRow({it.key(), it.value()});
        a[0] = packetToVariant(p);
        return QVariant(true);
    });
    on(dispid::OpenQuery, [this](QVariantList& a) { return openQuery(a); });
    on(dispid::ExecuteSql, [](QVariantList&) { return QVariant(true); });
    on(dispid::LookupRecord, [this](QVariantList& a) {
        if (a[0].toInt() != 1 || a[1].toString() != parameter(QStringLiteral("dybm"))) {
            a[1] = QStringLiteral("记录不存在");
            return QVariant(false);
        }
        a[1] = packetToVariant(table({QStringLiteral("f_Bmbm"), QStringLiteral("f_Bmmc")},
                                     {{parameter(QStringLiteral("dybm")), departmentName}}));
        return QVariant(true);
    });
    on(dispid::GetOperatorInfo, [this](QVariantList& a) {
        a[1] = operatorTag;
        return QVariant(true);
    });
    on(dispid::LookupEmployee, [this](QVariantList& a) {
        const auto it = employees.constFind(a[0].toString());
        if (it == employees.constEnd()) {
            a[3] = QStringLiteral("职员不存在");
            return QVariant(false);
        }
        a[1] = it->name;
        a[2] = it->kind;
        a[3] = it->status;
        return QVariant(true);
    });
    on(dispid::GetDistributionCentre, [this](QVariantList& a) {
        a[1] = distributionCentre;
        return QVariant(true);
    });
    on(dispid::GetReportTemplates, [this](QVariantList& a) {
        const QString category = a[0].toString();
        const QString text = category == QStringLiteral("销货退单") ? returnTemplate : saleTemplate;
        a[1] = packetToVariant(
            table({QStringLiteral("f_reportname"), QStringLiteral("f_reportinfo")}, {{category, text}}));
        return QVariant(true);
    });
    on(dispid::OpenCentreQuery, [this](QVariantList& a) {
        DataPacket p = table({QStringLiteral("f_Ckbm"), QStringLiteral("f_Ckmc")});
        for (auto it = warehouses.begin(); it != warehouses.end(); ++it)
            if (a[0].toString().contains(QStringLiteral("f_Ckbm = '%1' ").arg(it.key())))
                p.appendRow({it.key(), it.value()});
        a[1] = packetToVariant(p);
        return QVariant(true);
    });
    const auto allocate = [this](QVariantList& a) {
        a[3] = nextDocumentNumber;
        return QVariant(true);
    };
    on(dispid::AllocateDocumentNumber, allocate);
    on(dispid::AllocateDeliveryDocumentNumber, allocate);
}

DataPacket StoreFixture::sysmsgRow(const QString& value)
{
    return table({QStringLiteral("f_Csz")}, {{value}});
}

QStringList StoreFixture::queriesSent() const
{
    QStringList out;
    for (const Call& c : callsTo(dispid::OpenQuery))
        out.append(c.args.value(0).toString());
    return out;
}

QVariant StoreFixture::openQuery(QVariantList& a)
{
    const QString sql = a[0].toString();
    if (const auto it = refusedQueries.constFind(sql); it != refusedQueries.constEnd()) {
        a[1] = *it;
        return QVariant(false);
    }
    if (const auto it = queries.constFind(sql); it != queries.constEnd()) {
        a[1] = packetToVariant(*it);
        return QVariant(true);
    }
    DataPacket result;
    if (sql == QStringLiteral("Select GetDate() ") || sql == QStringLiteral("Values current timestamp "))
        result = dateRow(QStringLiteral("f_Date"), serverTime);
    else if (sql == QStringLiteral("select getdate() as f_Date"))
        result = dateRow(QStringLiteral("f_Date"), serverTime);
    else if (sql == QStringLiteral("SELECT * FROM tbSysMsg WHERE f_Csmc='xsxpdyfs'"))
        result = table({QStringLiteral("f_Csmc"), QStringLiteral("f_Csz")},
                       {{QStringLiteral("xsxpdyfs"), receiptMode}});
    else if (sql.startsWith(QStringLiteral("Select 1 From Sysobjects")))
        result = uniqueIndexExists ? table({QStringLiteral("1")}, {{1}}) : table({QStringLiteral("1")});
    else if (sql.startsWith(QStringLiteral("Select f_Bmbm,f_Bmmc From tbBmda"))) {
        result = table({QStringLiteral("f_Bmbm"), QStringLiteral("f_Bmmc")});
        const QString dybm = parameter(QStringLiteral("dybm"));
        for (auto it = counterGroups.begin(); it != counterGroups.end(); ++it)
            if (it.key() != dybm && it.key().startsWith(dybm) &&
                sql.contains(QStringLiteral("And f_Bmbm = '%1' ").arg(it.key())))
                result.appendRow({it.key(), it.value()});
    } else
        result = table({QStringLiteral("f_Csz")});
    a[1] = packetToVariant(result);
    return QVariant(true);
}

} // namespace qiantai::test
