#include "screens/cards/frmusehykrules.h"

#include <gtest/gtest.h>

using namespace qiantai;

TEST(UseHykRules, CardNumberTrimming)
{
    struct Case {
        const char* swiped;
        int front, back;
        const char* expected;
    };
    for (const Case& c :
         {Case{"AB12345X", 2, 1, "12345"}, Case{"ABX", 2, 1, "ABX"}, Case{"ABXY", 2, 1, "X"},
          Case{"  8800000001 ", 0, 0, "8800000001"}, Case{" ;8800000001? ", 1, 1, "8800000001"},
          Case{"", 2, 1, ""}, Case{"12345", -3, 0, "12345"}}) {
        SCOPED_TRACE(c.swiped);
        EXPECT_EQ(TrimCardNumber(QString::fromUtf8(c.swiped), c.front, c.back),
                  QString::fromUtf8(c.expected));
    }
}

TEST(UseHykRules, QueryRequestKeepsThePasswordAsTyped)
{
    EXPECT_EQ(
        MemberCardQueryRequest(QStringLiteral("12345"), QStringLiteral(" 12 34 "), QStringLiteral("0101")),
        (QVariantList{"0", "12345", " 12 34 ", "1", QString(), "0101"}));
    const QVariantList empty = MemberCardQueryRequest(QStringLiteral("1"), QString(), QString());
    EXPECT_EQ(empty.value(2).toString(), QString());
    EXPECT_EQ(empty.size(), 6);
}
