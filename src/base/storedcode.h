// Codes and document numbers as the store keeps them.
#pragma once

#include <QString>

namespace qiantai {

// `code` without the blanks around it (a fixed-width column pads "01" to
// "01 "): the host stores codes so and the module looks for them so.
QString StoredCode(const QString& code);

} // namespace qiantai
