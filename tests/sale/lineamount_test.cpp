#include "sale/lineamount.h"

#include "sale/linesums.h"

#include <gtest/gtest.h>

using namespace qiantai;

TEST(LineAmount, StoreRoundingModes)
{
    const struct {
        double amount;
        int xsfkz;
        double expected;
    } cases[] = {
        {37.47, 0, 37.47}, {37.47, 1, 37.5}, {37.47, 3, 37.4}, {37.47, 2, 37.47}, {37.47, 4, 37.47},
        {37.45, 1, 37.5},  {0.3, 3, 0.3},    {-2.46, 1, -2.5}, {-2.46, 3, -2.5},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(RoundLineAmount(c.amount, c.xsfkz), c.expected) << c.amount << " mode " << c.xsfkz;
}

TEST(LineAmount, SplitsNetAndTax)
{
    TSaleRecord line;
    line.TaxRate = 17;
    SetLineAmount(line, 37.5);
    EXPECT_DOUBLE_EQ(line.NetAmount, 32.05);
    EXPECT_DOUBLE_EQ(LineAmount(line), 37.5);
    line.TaxRate = 0;
    SetLineAmount(line, 12.34);
    EXPECT_DOUBLE_EQ(line.NetAmount, 12.34);
    EXPECT_DOUBLE_EQ(line.TaxAmount, 0);
}
