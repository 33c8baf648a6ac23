#include "base/gbk.h"
#include "entry/operatorcode.h"

#include <gtest/gtest.h>

#include <vector>

using namespace qiantai;

namespace {

std::vector<unsigned char> ShortString(const QByteArray& bytes)
{
    std::vector<unsigned char> s(1 + bytes.size());
    s[0] = static_cast<unsigned char>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), s.begin() + 1);
    return s;
}

} // namespace

TEST(OperatorCode, CopiesTheShortStringAndDecodesGbk)
{
    const QByteArray full(255, '7');
    auto s = ShortString(full);
    const OperatorCode code(s.data());
    s[1] = 'X'; // the caller's memory is not referenced afterwards
    EXPECT_EQ(code.length(), 255);
    EXPECT_EQ(code.text(), QString(full));

    auto chinese = ShortString(ToGbk(QString::fromUtf8("收银01")));
    EXPECT_EQ(OperatorCode(chinese.data()).text(), QString::fromUtf8("收银01"));

    const unsigned char empty[] = {0};
    EXPECT_EQ(OperatorCode(empty).text(), QString());
    EXPECT_EQ(OperatorCode(nullptr).text(), QString());
}
