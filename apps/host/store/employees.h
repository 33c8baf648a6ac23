// Employees: passwords, rights, and the lookups of the cashier and the
// salespeople.
#pragma once

#include "hostcontext.h"

#include "qiantai/datapacket.h"

namespace qiantai::host {

// Refuses with a text naming what is wrong (unknown, inactive, wrong password).
bool VerifyEmployeePassword(HostContext& ctx, const QString& code, const QString& password, QString* message);
bool HasRight(HostContext& ctx, const QString& code, const QString& right);

// Notes that `employee` granted `right` during document `document` of
// `cashier`.
bool RecordGrant(HostContext& ctx, const QString& document, const QString& cashier, const QString& employee,
                 const QString& right, QString* message);

struct EmployeeInfo {
    QString name;
    QString type;   // "1" cashier, "2" supervisor, "3" salesperson
    int status = 0; // 1 active
};
bool FindEmployee(HostContext& ctx, const QString& code, EmployeeInfo* info, QString* message);
// The employee record (f_Zybm, f_Zymc, f_Zylx, f_Zt, f_Bmbm), never the hash.
bool EmployeeRecord(HostContext& ctx, const QString& code, DataPacket* out, QString* message);
// The operator's tag of this till session: the business day and the code.
bool OperatorTag(HostContext& ctx, const QString& code, QString* tag, QString* message);

} // namespace qiantai::host
