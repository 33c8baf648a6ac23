#include "base/storedcode.h"

namespace qiantai {

QString StoredCode(const QString& code)
{
    return code.trimmed();
}

} // namespace qiantai
