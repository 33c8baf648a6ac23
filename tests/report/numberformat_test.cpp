#include "report/numberformat.h"

#include <gtest/gtest.h>

using namespace qiantai;

TEST(NumberFormat, RoundsHalfAwayFromZeroAndGroups)
{
    const struct {
        double value;
        const char* pattern;
        const char* text;
    } cases[] = {
        {1.005, "0.00", "1.01"},      {2.675, "0.00", "2.68"},     {1234.5, "0.00", "1234.50"},
        {-0.001, "0.00", "0.00"},     {-2.5, "0", "-3"},           {2.5, "0", "3"},
        {0.05, "0.0", "0.1"},         {3, "0.000", "3.000"},       {1234567.891, "#,##0.00", "1,234,567.89"},
        {-1234.5, "#,##0", "-1,235"}, {999, "#,##0.00", "999.00"}, {100000, "#,##0", "100,000"},
        {12.5, "bad", "12.5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(FormatNumber(c.value, c.pattern), QString::fromUtf8(c.text)) << c.value;
    }
}

TEST(NumberFormat, KnowsItsPatterns)
{
    for (const char* good : {"0", "0.0", "0.00", "#,##0", "#,##0.00"})
        EXPECT_TRUE(IsNumberFormat(good)) << good;
    for (const char* bad : {"", "0.", "00", "#.##", "0.00%", "yyyy-mm-dd", "#,##"})
        EXPECT_FALSE(IsNumberFormat(bad)) << bad;
}
