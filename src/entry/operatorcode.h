// The operator code as the host passes it: a length byte followed by up to
// 255 bytes of GBK text, copied into a buffer of our own.
#pragma once

#include <QString>

#include <array>

namespace qiantai {

class OperatorCode {
public:
    explicit OperatorCode(const unsigned char* shortString);
    QString text() const;
    int length() const { return buffer_[0]; }

private:
    std::array<unsigned char, 256> buffer_{};
};

} // namespace qiantai
