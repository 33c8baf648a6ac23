#include "hostcalls/hostservice.h"

#include "qiantai/dispids.h"

#include <QDate>

#include <exception>

namespace qiantai {

namespace {

DataPacket packetAt(const QVariantList& args, int i)
{
    return packetFromVariant(args[i]);
}

} // namespace

HostService::HostService(ICoorDisp* host) : host_(host) {}

bool HostService::raised(const char* name, const QString& what)
{
    status_ = HostCallStatus::Raised;
    error_ = QString(QStringLiteral("主机服务 %1 出错：%2").arg(QLatin1String(name), what));
    return false;
}

bool HostService::invokeValue(const char* name, int dispId, QVariantList& args, QVariant& result)
{
    status_ = HostCallStatus::Done;
    error_ = QVariant();
    if (!host_)
        return raised(name, QStringLiteral("没有主机服务对象"));
    const auto count = args.size();
    try {
        result = host_->invoke(dispId, args);
    } catch (const std::exception& e) {
        return raised(name, QString::fromUtf8(e.what()));
    } catch (...) {
        return raised(name, QStringLiteral("未知异常"));
    }
    if (args.size() != count)
        return raised(name, QStringLiteral("参数个数被改变"));
    return true;
}

bool HostService::invoke(const char* name, int dispId, QVariantList& args, int errorIndex)
{
    QVariant result;
    if (!invokeValue(name, dispId, args, result))
        return false;
    if (result.metaType().id() != QMetaType::Bool)
        return raised(name, QStringLiteral("返回值不是逻辑值"));
    if (result.toBool())
        return true;
    status_ = HostCallStatus::Refused;
    error_ = errorIndex >= 0 ? args[errorIndex] : QVariant();
    return false;
}

bool HostService::OpenQuery(const QString& sql, DataPacket& packet)
{
    QVariantList args{sql, QVariant()};
    if (!invoke("OpenQuery", dispid::OpenQuery, args, 1))
        return false;
    packet = packetAt(args, 1);
    return true;
}

bool HostService::ExecuteSql(const QString& sql)
{
    QVariantList args{sql};
    return invoke("ExecuteSql", dispid::ExecuteSql, args, 0);
}

bool HostService::GetCurrentYearMonth(QString& yearMonth)
{
    QVariantList args{QVariant()};
    if (!invoke("GetCurrentYearMonth", dispid::GetCurrentYearMonth, args, 0))
        return false;
    yearMonth = args[0].toString();
    return true;
}

bool HostService::GetCurrentDate(QString& date)
{
    QVariantList args{QVariant()};
    if (!invoke("GetCurrentDate", dispid::GetCurrentDate, args, 0))
        return false;
    date = args[0].toString();
    return true;
}

bool HostService::GetCurrentDateTime(QString& dateTime)
{
    QVariantList args{QVariant()};
    if (!invoke("GetCurrentDateTime", dispid::GetCurrentDateTime, args, 0))
        return false;
    dateTime = args[0].toString();
    return true;
}

bool HostService::VerifyPassword(const QString& employee, const QString& password)
{
    QVariantList args{employee, password, QVariant()};
    return invoke("VerifyPassword", dispid::VerifyPassword, args, 2);
}

bool HostService::CheckPermission(const QString& employee, const QString& rightCode)
{
    QVariantList args{employee, rightCode};
    return invoke("CheckPermission", dispid::CheckPermission, args, -1);
}

bool HostService::LookupByCode(int kind, const QString& code, DataPacket& packet)
{
    QVariantList args{kind, code};
    if (!invoke("LookupByCode", dispid::LookupByCode, args, 1))
        return false;
    packet = packetAt(args, 1);
    return true;
}

bool HostService::GetReportTemplates(const QString& category, DataPacket& packet)
{
    QVariantList args{category, QVariant()};
    if (!invoke("GetReportTemplates", dispid::GetReportTemplates, args, 1))
        return false;
    packet = packetAt(args, 1);
    return true;
}

bool HostService::GetDatabaseType(QString& type)
{
    QVariantList args;
    QVariant result;
    if (!invokeValue("GetDatabaseType", dispid::GetDatabaseType, args, result))
        return false;
    if (result.metaType().id() != QMetaType::QString)
        return raised("GetDatabaseType", QStringLiteral("返回值不是文本"));
    type = result.toString();
    return true;
}

bool HostService::OpenCentreQuery(const QString& sql, const QString& centre, DataPacket& packet)
{
    QVariantList args{sql, centre};
    if (!invoke("OpenCentreQuery", dispid::OpenCentreQuery, args, 1))
        return false;
    packet = packetAt(args, 1);
    return true;
}

bool HostService::ExecuteCentreSql(const QString& sql, const QString& centre)
{
    QVariantList args{sql, centre};
    return invoke("ExecuteCentreSql", dispid::ExecuteCentreSql, args, 1);
}

bool HostService::QueryLimitedOffer(int distribution, const QString& dybm, const QString& djh,
                                    int linePosition, const QString& productCode, double quantity,
                                    double otherQuantity, double unitPrice, int& unused, double& offerPrice,
                                    double& offerValue, QVariant& mode)
{
    QVariantList args{distribution,  dybm,      djh,        linePosition, productCode, quantity,
                      otherQuantity, unitPrice, QVariant(), QVariant(),   QVariant(),  mode};
    const bool done = invoke("QueryLimitedOffer", dispid::QueryLimitedOffer, args, 11);
    if (status_ == HostCallStatus::Raised)
        return false;
    mode = args[11];
    if (!done)
        return false;
    unused = args[8].toInt();
    offerPrice = args[9].toDouble();
    offerValue = args[10].toDouble();
    return true;
}

bool HostService::GetSystemParameters(DataPacket& packet)
{
    QVariantList args{QVariant()};
    if (!invoke("GetSystemParameters", dispid::GetSystemParameters, args, 0))
        return false;
    packet = packetAt(args, 0);
    return true;
}

bool HostService::LookupRecord(int kind, const QString& code, DataPacket& packet)
{
    QVariantList args{kind, code};
    if (!invoke("LookupRecord", dispid::LookupRecord, args, 1))
        return false;
    packet = packetAt(args, 1);
    return true;
}

bool HostService::RecordCardConsumption(QVariant& request, QVariant& answer)
{
    QVariantList args{request, answer};
    const bool done = invoke("RecordCardConsumption", dispid::RecordCardConsumption, args, 1);
    if (status_ == HostCallStatus::Raised)
        return false;
    request = args[0];
    answer = args[1];
    return done;
}

bool HostService::AllocateDocumentNumber(const QString& cashier, const QString& cashierName,
                                         const QString& counterGroup, QString& number)
{
    QVariantList args{cashier, cashierName, counterGroup, QVariant(), QVariant()};
    if (!invoke("AllocateDocumentNumber", dispid::AllocateDocumentNumber, args, 4))
        return false;
    number = args[3].toString();
    return true;
}

bool HostService::AllocateDeliveryDocumentNumber(const QString& cashier, const QString& cashierName,
                                                 const QString& counterGroup, QString& number)
{
    QVariantList args{cashier, cashierName, counterGroup, QVariant(), QVariant()};
    if (!invoke("AllocateDeliveryDocumentNumber", dispid::AllocateDeliveryDocumentNumber, args, 4))
        return false;
    number = args[3].toString();
    return true;
}

bool HostService::CalculateRebate(DataPacket& lines, double& rebate)
{
    QVariantList args{packetToVariant(lines), QVariant(), QVariant()};
    if (!invoke("CalculateRebate", dispid::CalculateRebate, args, 2))
        return false;
    lines = packetAt(args, 0);
    rebate = args[1].toDouble();
    return true;
}

bool HostService::SaveSale(const QString& djh, const QString& syybm, const QString& syymc,
                           const QString& operatorTag, const QString& yyybm, const QString& yyymc,
                           const QString& gzbm, const QString& ckbm, const QString& cardNo,
                           const QString& memberAccount, const DataPacket& lines, const QVariant& bundle,
                           QVariant& message)
{
    QVariantList args{djh,
                      syybm,
                      syymc,
                      operatorTag,
                      yyybm,
                      yyymc,
                      gzbm,
                      ckbm,
                      cardNo,
                      memberAccount,
                      packetToVariant(lines),
                      bundle,
                      message};
    const bool done = invoke("SaveSale", dispid::SaveSale, args, 12);
    if (status_ != HostCallStatus::Raised)
        message = args[12];
    return done;
}

bool HostService::SaveDeliverySale(const QString& djh, const QString& syybm, const QString& syymc,
                                   const QString& operatorTag, const QString& yyybm, const QString& yyymc,
                                   const QString& cardNo, const QString& memberAccount, const QString& gzbm,
                                   const QString& ckbm, double amount, DataPacket& lines, QVariant& bundle,
                                   QVariant& message)
{
    QVariantList args{djh,    syybm,         syymc, operatorTag, yyybm,  yyymc,
                      cardNo, memberAccount, gzbm,  ckbm,        amount, packetToVariant(lines),
                      bundle, message};
    const bool done = invoke("SaveDeliverySale", dispid::SaveDeliverySale, args, 13);
    if (status_ == HostCallStatus::Raised)
        return false;
    message = args[13];
    if (!done)
        return false;
    lines = packetAt(args, 11);
    bundle = args[12];
    return true;
}

bool HostService::SaveInstallSale(const QString& djh, const QString& syybm, const QString& syymc,
                                  const QString& operatorTag, const QString& yyybm, const QString& yyymc,
                                  const QString& gzbm, const QString& ckbm, const QString& cardNo,
                                  const QString& memberAccount, double amount, DataPacket& lines,
                                  QVariant& bundle, QVariant& message)
{
    QVariantList args{djh,    syybm,  syymc,  operatorTag,   yyybm,  yyymc,
                      gzbm,   ckbm,   cardNo, memberAccount, amount, packetToVariant(lines),
                      bundle, message};
    const bool done = invoke("SaveInstallSale", dispid::SaveInstallSale, args, 13);
    if (status_ == HostCallStatus::Raised)
        return false;
    message = args[13];
    if (!done)
        return false;
    lines = packetAt(args, 11);
    bundle = args[12];
    return true;
}

bool HostService::SaveCentralDeliverySale(const QString& djh, const QString& syybm, const QString& syymc,
                                          const QString& operatorTag, const QString& yyybm,
                                          const QString& yyymc, const QString& gzbm, const QString& pszxbm,
                                          const QString& ckbm, const QString& cardNo,
                                          const QString& memberAccount, double amount, DataPacket& lines,
                                          QVariant& bundle, QVariant& message)
{
    QVariantList args{djh,
                      syybm,
                      syymc,
                      operatorTag,
                      yyybm,
                      yyymc,
                      gzbm,
                      pszxbm,
                      ckbm,
                      cardNo,
                      memberAccount,
                      amount,
                      packetToVariant(lines),
                      bundle,
                      message};
    const bool done = invoke("SaveCentralDeliverySale", dispid::SaveCentralDeliverySale, args, 14);
    if (status_ == HostCallStatus::Raised)
        return false;
    message = args[14];
    if (!done)
        return false;
    lines = packetAt(args, 12);
    bundle = args[13];
    return true;
}

bool HostService::PrepareProductLookup(QVariant& value)
{
    QVariantList args{value};
    const bool done = invoke("PrepareProductLookup", dispid::PrepareProductLookup, args, 0);
    if (status_ != HostCallStatus::Raised)
        value = args[0];
    return done;
}

bool HostService::LookupProduct(const QString& code, DataPacket& result, QVariant& value)
{
    QVariantList args{code, QVariant(), value};
    const bool done = invoke("LookupProduct", dispid::LookupProduct, args, 2);
    if (status_ == HostCallStatus::Raised)
        return false;
    value = args[2];
    if (done)
        result = packetAt(args, 1);
    return done;
}

bool HostService::GetOperatorInfo(const QString& operatorCode, QString& info)
{
    QVariantList args{operatorCode, QVariant()};
    if (!invoke("GetOperatorInfo", dispid::GetOperatorInfo, args, 1))
        return false;
    info = args[1].toString();
    return true;
}

bool HostService::LookupEmployee(const QString& code, QString& name, QString& text, QVariant& status)
{
    QVariantList args{code, QVariant(), QVariant(), status};
    const bool done = invoke("LookupEmployee", dispid::LookupEmployee, args, 3);
    if (status_ == HostCallStatus::Raised)
        return false;
    status = args[3];
    if (!done)
        return false;
    name = args[1].toString();
    text = args[2].toString();
    return true;
}

bool HostService::GetDistributionCentre(const QString& department, QString& centre)
{
    QVariantList args{department, QVariant(), QVariant()};
    if (!invoke("GetDistributionCentre", dispid::GetDistributionCentre, args, 2))
        return false;
    centre = args[1].toString();
    return true;
}

bool HostService::CheckStock(const QString& productCode, const QString& counterGroup, double quantity,
                             double otherQuantity, const QString& qyny, const QString& dqny)
{
    QVariantList args{productCode, counterGroup, quantity, otherQuantity, qyny, dqny, QVariant()};
    return invoke("CheckStock", dispid::CheckStock, args, 6);
}

bool HostService::CheckDeliveryStock(const QString& productCode, const QString& dybm, const QString& pszxbm,
                                     const QString& ckbm, const QString& dqny, double quantity,
                                     double otherQuantity)
{
    QVariantList args{productCode, dybm, pszxbm, ckbm, dqny, quantity, otherQuantity, QVariant()};
    return invoke("CheckDeliveryStock", dispid::CheckDeliveryStock, args, 7);
}

QString HostDateText(HostService& host)
{
    QString date;
    if (host.GetCurrentDate(date))
        return date;
    return QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
}

} // namespace qiantai
