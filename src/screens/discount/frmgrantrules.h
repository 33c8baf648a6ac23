// Supervisor authorization for a right: its texts and one try with an
// employee code and password.
#pragma once

#include <QString>
#include <QVariant>

namespace qiantai {

class HostService;

// "低于进价授权" for the right to sell below cost, "低于最低售价授权" otherwise.
QString GrantHeading(const QString& right);

// The refusal for an employee without the right, naming the code as typed.
QString GrantMissingRightMessage(const QString& right, const QString& typedCode);

// Caption of the authorization's messages.
QString GrantErrorCaption();

// One try: the host verifies the trimmed code and password, then checks that
// the employee holds `right`. True when granted; otherwise `refusal` holds
// what to show: the host's text or texts when the pair is not valid or a call
// failed, else the missing-right message with the code as typed.
bool TryGrant(HostService& host, const QString& typedCode, const QString& typedPassword, const QString& right,
              QVariant& refusal);

} // namespace qiantai
