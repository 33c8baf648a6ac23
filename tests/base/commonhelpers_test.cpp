#include "base/commonhelpers.h"

#include <gtest/gtest.h>

using namespace qiantai;

TEST(PadNumber, FillsWithZerosAndCutsFromTheLeft)
{
    const struct {
        int width;
        bool cut;
        qint64 value;
        const char* expected;
    } cases[] = {
        {6, true, 42, "000042"},
        {6, true, 1234567, "234567"},
        {6, false, 1234567, "1234567"},
        {0, true, 0, ""},
        {0, false, 0, "0"},
        {2, true, 0, "00"},
        {12, true, 123456789012345, "456789012345"},
        {10, true, 1234567890, "1234567890"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PadNumber(c.width, c.cut, c.value), QString(c.expected))
            << c.width << " " << c.cut << " " << c.value;
}

TEST(SplitText, TrimsPiecesAndReportsEmptyOnes)
{
    const struct {
        const char* separator;
        const char* text;
        QStringList pieces;
        bool allFilled;
    } cases[] = {
        {",", "1, 2,,3", {"1", "2", "", "3"}, false},
        {",", " a ", {"a"}, true},
        {",", "", {""}, false},
        {",", "a,", {"a", ""}, false},
        {"||", "x || y||z", {"x", "y", "z"}, true},
        {"", "a,b", {"a,b"}, true},
    };
    for (const auto& c : cases) {
        QStringList pieces{"stale"};
        EXPECT_EQ(SplitText(c.separator, c.text, pieces), c.allFilled) << c.text;
        EXPECT_EQ(pieces, c.pieces) << c.text;
    }
}

TEST(ChooseText, PicksByCondition)
{
    EXPECT_EQ(ChooseText(true, "yes", "no"), "yes");
    EXPECT_EQ(ChooseText(false, "yes", "no"), "no");
}
