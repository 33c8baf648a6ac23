#include "screens/sales/saleslayout.h"

#include <algorithm>

namespace qiantai {

namespace {

QRect shadowOf(const QRect& panel)
{
    return panel.translated(SalesShadowOffset, SalesShadowOffset);
}

// Top + height, the edge the next panel is placed after.
int bottomEdge(const QRect& r)
{
    return r.y() + r.height();
}

} // namespace

SalesLayoutGeometry ComputeSalesLayout(QSize screen)
{
    SalesLayoutGeometry g;
    const int w = screen.width();
    const int h = screen.height();

    g.title = QRect(6, 6, w - 15, SalesTitleHeight);
    g.titleShadow = shadowOf(g.title);
    g.number = QRect(6, bottomEdge(g.titleShadow) + 3, w - 15, SalesNumberHeight);
    g.numberShadow = shadowOf(g.number);
    g.footer = QRect(6, h - 6 - SalesFooterHeight, w - 12, SalesFooterHeight);
    const int bodyTop = bottomEdge(g.numberShadow) + 3;
    g.body = QRect(6, bodyTop, w - 12, std::max(0, g.footer.y() - 3 - bodyTop));

    g.gridFrame = QRect(0, 0, g.body.width(), g.body.height());
    g.gridPanel = g.gridFrame.adjusted(1, 1, -1, -1);
    g.grid = QRect(-2, -2, g.gridPanel.width() + 5, g.gridPanel.height() + 5);
    return g;
}

} // namespace qiantai
