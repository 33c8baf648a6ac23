#include "screens/discount/frmsgzkrules.h"

#include "discountfixtures.h"

#include <gtest/gtest.h>

using namespace qiantai;
using qiantai::test::AddLine;

TEST(DiscountModeTest, TextsPerMode)
{
    struct Case {
        DiscountMode mode;
        const char* option;
        const char* selection;
        const char* title;
    };
    const Case cases[] = {
        {DiscountMode::LineRate, "[0] 单行记录按扣率打折", "选择[0]项", "单行手工折扣率设置"},
        {DiscountMode::WholeRate, "[1] 整单记录按扣率打折", "选择[1]项", "整单手工折扣率设置"},
        {DiscountMode::LineAmount, "[2] 单行记录按金额打折", "选择[2]项", "单行手工金额折扣设置"},
        {DiscountMode::WholeAmount, "[3] 整单记录按金额打折", "选择[3]项", "整单手工金额折扣设置"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DiscountModeOptionText(c.mode), QString::fromUtf8(c.option));
        EXPECT_EQ(DiscountModeSelectionText(c.mode), QString::fromUtf8(c.selection));
        EXPECT_EQ(DiscountModeTitle(c.mode), QString::fromUtf8(c.title));
    }
}

TEST(DiscountModeTest, UpAndDownWrapAround)
{
    EXPECT_EQ(NextDiscountMode(DiscountMode::LineRate), DiscountMode::WholeRate);
    EXPECT_EQ(NextDiscountMode(DiscountMode::WholeAmount), DiscountMode::LineRate);
    EXPECT_EQ(PreviousDiscountMode(DiscountMode::LineRate), DiscountMode::WholeAmount);
    EXPECT_EQ(PreviousDiscountMode(DiscountMode::LineAmount), DiscountMode::WholeRate);
}

TEST(DiscountModeTest, ChecksOnEnter)
{
    const QString emptyRow = QStringLiteral("本行没有数据，不能进行单行折扣！");
    const QString limitedLine = QStringLiteral("该商品是限时限量商品，不允许手工打折！");
    const QString amountControlled = QStringLiteral("该商品是金额控制商品，不允许手工打折！");
    const QString noLines = QStringLiteral("整单没有数据，不能进行整单折扣！");
    const QString limitedDoc = QStringLiteral("该单据含有限时限量商品，不允许整单打折！");

    TSaleRecords none;
    TSaleRecords lines;
    AddLine(lines, "A", 10);
    AddLine(lines, "B", 20).LimitedOffer = 1;
    AddLine(lines, "C", 0); // amount-controlled
    TSaleRecords plain;
    AddLine(plain, "A", 10);
    AddLine(plain, "C", 0);

    struct Case {
        DiscountMode mode;
        int row;
        const TSaleRecords* lines;
        QString expected;
    };
    const Case cases[] = {
        {DiscountMode::LineRate, 1, &lines, QString()},
        {DiscountMode::LineAmount, 1, &lines, QString()},
        {DiscountMode::LineRate, 2, &lines, limitedLine},
        {DiscountMode::LineAmount, 2, &lines, limitedLine},
        {DiscountMode::LineRate, 3, &lines, amountControlled},
        {DiscountMode::LineRate, 4, &lines, emptyRow}, // the entry row
        {DiscountMode::LineAmount, 1, &none, emptyRow},
        {DiscountMode::LineRate, 0, &lines, emptyRow},
        {DiscountMode::WholeRate, 4, &none, noLines},
        {DiscountMode::WholeAmount, 1, &none, noLines},
        {DiscountMode::WholeRate, 1, &lines, limitedDoc},
        {DiscountMode::WholeAmount, 3, &lines, limitedDoc},
        // The whole sale ignores the cursor row and admits amount-controlled lines.
        {DiscountMode::WholeRate, 3, &plain, QString()},
        {DiscountMode::WholeAmount, 9, &plain, QString()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CheckDiscountMode(c.mode, c.row, *c.lines), c.expected)
            << "mode " << int(c.mode) << " row " << c.row;
}
