#include "screens/discount/discountinput.h"

#include <QString>

#include <gtest/gtest.h>

using namespace qiantai;

TEST(DiscountInputTest, AcceptedCharacters)
{
    for (QChar c : QStringLiteral("0123456789.-\b"))
        EXPECT_TRUE(IsDiscountInputChar(c)) << c.unicode();
    for (QChar c : QStringLiteral("+eE, a%０１"))
        EXPECT_FALSE(IsDiscountInputChar(c)) << c.unicode();
}
