#include "entry/operatorcode.h"

#include "base/gbk.h"

#include <cstring>

namespace qiantai {

OperatorCode::OperatorCode(const unsigned char* shortString)
{
    if (shortString == nullptr)
        return;
    const unsigned length = shortString[0];
    std::memcpy(buffer_.data(), shortString, length + 1);
}

QString OperatorCode::text() const
{
    return FromGbk(QByteArray(reinterpret_cast<const char*>(buffer_.data() + 1), buffer_[0]));
}

} // namespace qiantai
