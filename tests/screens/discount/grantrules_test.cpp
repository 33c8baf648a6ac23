#include "screens/discount/grantrules.h"

#include <gtest/gtest.h>

using namespace qiantai;

TEST(GrantRulesTest, TextsPerRight)
{
    EXPECT_EQ(GrantHeading("9912"), QStringLiteral("低于进价授权"));
    EXPECT_EQ(GrantHeading("9907"), QStringLiteral("低于最低售价授权"));
    // The code as typed, blanks included.
    EXPECT_EQ(GrantMissingRightMessage("9907", "0012 "), QStringLiteral("职员 0012  没有低于最低售价的权限"));
    EXPECT_EQ(GrantMissingRightMessage("9912", "0012"), QStringLiteral("职员 0012 没有低于最后进价的权限"));
}
