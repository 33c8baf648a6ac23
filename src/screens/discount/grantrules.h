// Texts of the supervisor authorization for a right.
#pragma once

#include <QString>

namespace qiantai {

// "低于进价授权" for the right to sell below cost, "低于最低售价授权" otherwise.
QString GrantHeading(const QString& right);

// The refusal for an employee without the right, naming the code as typed.
QString GrantMissingRightMessage(const QString& right, const QString& typedCode);

// Caption of the authorization's messages.
QString GrantErrorCaption();

} // namespace qiantai
