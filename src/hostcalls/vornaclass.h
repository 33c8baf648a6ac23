// The system parameter service: reads tbSysmsg and a few host values into a
// TSysParamRecord.
#pragma once

#include "hostcalls/hostservice.h"
#include "hostcalls/sysparams.h"

#include "qiantai/datapacket.h"

#include <QString>

#include <functional>

namespace qiantai {

class TVornaClass {
public:
    // Shows a warning box; the screen passes one owned by its window.
    using WarningCallback = std::function<void(const QString& title, const QString& text)>;

    // Asks the host for its database type. When that fails, `warn` (if any)
    // is called with "警告" / "获取数据库类型失败!" and "SQLSERVER" is assumed.
    explicit TVornaClass(ICoorDisp* host, WarningCallback warn = {});

    // Fills the requested fields of `record` (OperatorCode must be set when
    // OperatorName is requested). False with `message` set at the first value
    // that cannot be obtained; fields filled before it keep their new values.
    bool LoadParameters(TSysParamRecord& record, const TSysParamSet& request, QString& message);

    const QString& databaseType() const { return databaseType_; }
    // dwlx as read by the last load that reached tbSysmsg.
    const QString& unitType() const { return unitType_; }
    // The rows the last load received from the host.
    const DataPacket& parameterTable() const { return table_; }

private:
    // `message`, or the host's own text when the call raised.
    QString failureText(const char* message) const;

    HostService host_;
    QString databaseType_;
    QString unitType_;
    DataPacket table_;
};

} // namespace qiantai
