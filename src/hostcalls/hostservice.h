// Typed calls on the host service object.
#pragma once

#include "qiantai/coordisp.h"
#include "qiantai/datapacket.h"

#include <QString>
#include <QVariant>
#include <QVariantList>

namespace qiantai {

// How the last call on a HostService ended.
enum class HostCallStatus {
    Done,    // the host answered True
    Refused, // the host answered False; lastError() holds its text or texts
    Raised,  // the call threw, answered something that is not a Boolean, broke
             // the argument list or there is no host; lastError() holds a
             // readable text
};

// One function per host operation, arguments in the host's order. Each returns
// true when the host answered True.
//
// By-reference arguments: typed outputs (QString&, int&, double&, result
// packets) are out-only: they go to the host as null variants and are written
// back only when it answers True. Sale-line packets and payment bundles go in
// and are read back only on True as well. Other QVariant& arguments are in/out
// values that carry data either way and are written back whenever the host
// has answered. A trailing message argument
// that only carries a refusal is not a parameter: it starts null and its
// content is lastError() after a refusal.
class HostService {
public:
    explicit HostService(ICoorDisp* host = nullptr);

    ICoorDisp* host() const { return host_.get(); }
    explicit operator bool() const { return bool(host_); }

    HostCallStatus lastStatus() const { return status_; }
    // After a refusal: the host's text or array of texts (for the information
    // box); after a raised call: a QString saying what went wrong; else null.
    const QVariant& lastError() const { return error_; }

    bool OpenQuery(const QString& sql, DataPacket& packet);
    bool ExecuteSql(const QString& sql);
    bool GetCurrentYearMonth(QString& yearMonth);
    bool GetCurrentDate(QString& date);
    bool GetCurrentDateTime(QString& dateTime);
    bool VerifyPassword(const QString& employee, const QString& password);
    // No argument carries a refusal text: lastError() is null when refused.
    bool CheckPermission(const QString& employee, const QString& rightCode);
    bool LookupByCode(int kind, const QString& code, DataPacket& packet);
    bool GetReportTemplates(const QString& category, DataPacket& packet);
    // Not a Boolean operation: the host answers the type as text. Any other
    // answer, or a throw, is a failure (status Raised).
    bool GetDatabaseType(QString& type);
    bool OpenCentreQuery(const QString& sql, const QString& centre, DataPacket& packet);
    bool ExecuteCentreSql(const QString& sql, const QString& centre);
    bool QueryLimitedOffer(int distribution, const QString& dybm, const QString& djh, int linePosition,
                           const QString& productCode, double quantity, double otherQuantity,
                           double unitPrice, int& unused, double& offerPrice, double& offerValue,
                           QVariant& mode);
    bool GetSystemParameters(DataPacket& packet);
    bool LookupRecord(int kind, const QString& code, DataPacket& packet);
    bool RecordCardConsumption(QVariant& request, QVariant& answer);
    bool AllocateDocumentNumber(const QString& cashier, const QString& cashierName,
                                const QString& counterGroup, QString& number);
    bool AllocateDeliveryDocumentNumber(const QString& cashier, const QString& cashierName,
                                        const QString& counterGroup, QString& number);
    bool CalculateRebate(DataPacket& lines, double& rebate);
    // `message` goes in with the customer information and comes back with the
    // refusal or, on success, the amount that earns loyalty points.
    bool SaveSale(const QString& djh, const QString& syybm, const QString& syymc, const QString& operatorTag,
                  const QString& yyybm, const QString& yyymc, const QString& gzbm, const QString& ckbm,
                  const QString& cardNo, const QString& memberAccount, const DataPacket& lines,
                  const QVariant& bundle, QVariant& message);
    // Note the place of cardNo and memberAccount, before gzbm.
    bool SaveDeliverySale(const QString& djh, const QString& syybm, const QString& syymc,
                          const QString& operatorTag, const QString& yyybm, const QString& yyymc,
                          const QString& cardNo, const QString& memberAccount, const QString& gzbm,
                          const QString& ckbm, double amount, DataPacket& lines, QVariant& bundle,
                          QVariant& message);
    bool SaveInstallSale(const QString& djh, const QString& syybm, const QString& syymc,
                         const QString& operatorTag, const QString& yyybm, const QString& yyymc,
                         const QString& gzbm, const QString& ckbm, const QString& cardNo,
                         const QString& memberAccount, double amount, DataPacket& lines, QVariant& bundle,
                         QVariant& message);
    bool SaveCentralDeliverySale(const QString& djh, const QString& syybm, const QString& syymc,
                                 const QString& operatorTag, const QString& yyybm, const QString& yyymc,
                                 const QString& gzbm, const QString& pszxbm, const QString& ckbm,
                                 const QString& cardNo, const QString& memberAccount, double amount,
                                 DataPacket& lines, QVariant& bundle, QVariant& message);
    // `value` is shared with the following LookupProduct.
    bool PrepareProductLookup(QVariant& value);
    bool LookupProduct(const QString& code, DataPacket& result, QVariant& value);
    bool GetOperatorInfo(const QString& operatorCode, QString& info);
    bool LookupEmployee(const QString& code, QString& name, QString& text, QVariant& status);
    bool GetDistributionCentre(const QString& department, QString& centre);
    bool CheckStock(const QString& productCode, const QString& counterGroup, double quantity,
                    double otherQuantity, const QString& qyny, const QString& dqny);
    bool CheckDeliveryStock(const QString& productCode, const QString& dybm, const QString& pszxbm,
                            const QString& ckbm, const QString& dqny, double quantity, double otherQuantity);

private:
    // Calls `dispId` and checks the answer. `errorIndex` is the argument that
    // holds a refusal's text, -1 for none. Sets status and error.
    bool invoke(const char* name, int dispId, QVariantList& args, int errorIndex);
    // As invoke, for an operation that answers a value instead of a Boolean.
    bool invokeValue(const char* name, int dispId, QVariantList& args, QVariant& result);
    bool raised(const char* name, const QString& what);

    CoorDispRef host_;
    HostCallStatus status_ = HostCallStatus::Done;
    QVariant error_;
};

// The host's current date text as the host gives it; the local date as
// "yyyyMMdd" when the host refuses or fails. Shows no message.
QString HostDateText(HostService& host);

} // namespace qiantai
