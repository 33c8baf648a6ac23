#include "base/numbers.h"

#include <gtest/gtest.h>

using namespace qiantai;

TEST(PadText, CountsGbkBytesAndNeverCuts)
{
    const struct {
        const char* text;
        int width;
        int side;
        const char* expected;
    } cases[] = {
        {"1234", 6, 1, "1234  "},          {"1234", 6, 0, "  1234"}, {"123456789", 8, 1, "123456789"},
        {"张三", 14, 1, "张三          "}, {"张三", 3, 0, "张三"},   {"", 2, 0, "  "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PadText(QString::fromUtf8(c.text), c.width, c.side), QString::fromUtf8(c.expected))
            << c.text;
}

TEST(RoundDecimals, HalvesAwayFromZeroOnTheDecimalForm)
{
    const struct {
        int digits;
        double in, out;
    } cases[] = {{1, 12.25, 12.3}, {1, 12.24, 12.2}, {1, -12.25, -12.3}, {1, 1.15, 1.2},
                 {1, 0.05, 0.1},   {2, 1.005, 1.01}, {1, 100.0, 100.0},  {0, 2.5, 3.0}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(RoundDecimals(c.digits, c.in), c.out) << c.digits << " " << c.in;
}

TEST(TruncDecimals, CutsAfterTheSmallLift)
{
    const struct {
        int digits;
        double in, out;
    } cases[] = {{1, 12.29, 12.2}, {1, 0.7 - 0.4, 0.3}, {1, 12.0, 12.0},
                 {2, 1.999, 1.99}, {0, 3.99, 3.0},      {1, -12.21, -12.3}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(TruncDecimals(c.digits, c.in), c.out) << c.digits << " " << c.in;
}
