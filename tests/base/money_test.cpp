#include "base/gbk.h"
#include "base/money.h"

#include <gtest/gtest.h>

using namespace qiantai;

TEST(RoundMoney, HalvesAwayFromZeroOnTheDecimalForm)
{
    const struct {
        double in, out;
    } cases[] = {{1.005, 1.01},  {2.675, 2.68}, {-2.675, -2.68}, {0.125, 0.13}, {12.344999, 12.34},
                 {100.0, 100.0}, {0.0, 0.0},    {-0.005, -0.01}, {1e-9, 0.0},   {19.999, 20.0}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(RoundMoney(c.in), c.out) << c.in;
    EXPECT_DOUBLE_EQ(RoundTo(12.25, 1), 12.3);
    EXPECT_DOUBLE_EQ(RoundTo(0.1 + 0.2, 2), 0.3);
}

TEST(Gbk, WidthCountsChineseAsTwoBytes)
{
    EXPECT_EQ(GbkWidth(QString::fromUtf8("现金")), 4);
    EXPECT_EQ(GbkWidth(QStringLiteral("ab1")), 3);
    EXPECT_EQ(FromGbk(ToGbk(QString::fromUtf8("会员卡 A1"))), QString::fromUtf8("会员卡 A1"));
}
