#include "sale/salesession.h"
#include "sale/salesmethod.h"
#include "screens/sales/saleslabels.h"
#include "screens/sales/saleslayout.h"

#include <gtest/gtest.h>

using namespace qiantai;

TEST(SalesLabels, TitlesArePaddedInGbkBytes)
{
    SaleSession s;
    s.Bmmc = QStringLiteral("电器一店");
    s.Syymc = QStringLiteral("张三");
    s.Yyymc = QStringLiteral("李四");
    s.Gzmc = QStringLiteral("彩电柜");
    s.Xsfs = 2;
    s.Djh = QStringLiteral("0101200406150001");
    const SalesLabelTexts t = RefreshLabelTexts(s);
    EXPECT_EQ(t.bmbm, QStringLiteral("电器一店"));
    // Two Chinese characters are four bytes: ten blanks follow.
    EXPECT_EQ(t.title1, QStringLiteral("收银员：张三") + QString(10, ' ') + QStringLiteral("营业员：李四"));
    EXPECT_EQ(t.title2,
              QStringLiteral("柜组：彩电柜") + QString(10, ' ') + QStringLiteral("销售方式：带货安装"));
    EXPECT_EQ(t.nr, QStringLiteral("销售"));
    EXPECT_EQ(t.djh, QStringLiteral("单据号:0101200406150001"));

    // A name already as wide as the field is not cut.
    s.Syymc = QStringLiteral("欧阳一二三四五六");
    EXPECT_EQ(RefreshLabelTexts(s).title1, QStringLiteral("收银员：欧阳一二三四五六营业员：李四"));
}

TEST(SalesLabels, TotalsSumTheLines)
{
    SaleSession s;
    EXPECT_EQ(RefreshLabelTexts(s).js, QStringLiteral("   0"));
    EXPECT_EQ(RefreshLabelTexts(s).je, QStringLiteral("0.00"));
    TSaleRecord& a = s.SaleLines.Add();
    a.Quantity = 2;
    a.NetAmount = 170.94;
    a.TaxAmount = 29.06;
    TSaleRecord& b = s.SaleLines.Add();
    b.Quantity = 1;
    b.NetAmount = 85.465;
    b.TaxAmount = 0;
    const SalesLabelTexts t = RefreshLabelTexts(s);
    EXPECT_DOUBLE_EQ(s.DocTotalQty, 3);
    EXPECT_NEAR(s.DocTotalAmount, 285.465, 1e-9);
    EXPECT_EQ(t.js, QStringLiteral("   3"));
    EXPECT_EQ(t.je, QStringLiteral("285.47"));
    b.Quantity = 12345;
    EXPECT_EQ(RefreshLabelTexts(s).js, QStringLiteral("12347"));
}

TEST(SalesLabels, ClockAndMemberLine)
{
    EXPECT_EQ(ClockText(QDateTime(QDate(2000, 1, 2), QTime(12, 24, 13))),
              QStringLiteral("2000年01月02日 12:24:13"));
    TCardInfo card;
    EXPECT_EQ(MemberLineText(card, QStringLiteral("keep")), QStringLiteral("keep"));
    card.CardNo = QStringLiteral("8800000001");
    card.Points = 1200.99;
    EXPECT_EQ(MemberLineText(card, QStringLiteral("keep")), QStringLiteral("卡号:8800000001 积分:1200"));
    for (int m = 0; m < 4; ++m)
        EXPECT_FALSE(SalesMethodName(m).isEmpty());
    EXPECT_TRUE(SalesMethodName(4).isEmpty());
}

TEST(SalesLayout, PanelsStackWithTheirShadows)
{
    const SalesLayoutGeometry g = ComputeSalesLayout(QSize(1024, 768));
    EXPECT_EQ(g.title, QRect(6, 6, 1009, SalesTitleHeight));
    EXPECT_EQ(g.titleShadow, QRect(9, 9, 1009, SalesTitleHeight));
    EXPECT_EQ(g.number.top(), 9 + SalesTitleHeight + 3);
    EXPECT_EQ(g.numberShadow.topLeft(), g.number.topLeft() + QPoint(3, 3));
    EXPECT_EQ(g.footer, QRect(6, 768 - 6 - SalesFooterHeight, 1012, SalesFooterHeight));
    EXPECT_EQ(g.body.left(), 6);
    EXPECT_EQ(g.body.width(), 1012);
    EXPECT_EQ(g.body.top(), g.numberShadow.top() + SalesNumberHeight + 3);
    EXPECT_EQ(g.body.top() + g.body.height(), g.footer.top() - 3);
    EXPECT_EQ(g.gridPanel, QRect(1, 1, 1010, g.body.height() - 2));
    EXPECT_EQ(g.grid, QRect(-2, -2, 1015, g.body.height() + 3));
    // A screen too small for the body gives it no height rather than a negative one.
    EXPECT_EQ(ComputeSalesLayout(QSize(100, 100)).body.height(), 0);
}
