// Geometry of the sales screen's panels for a screen size.
#pragma once

#include <QRect>
#include <QSize>

namespace qiantai {

struct SalesLayoutGeometry {
    QRect title, titleShadow;   // PanTitle1, PanTitle2
    QRect number, numberShadow; // PanNr1, PanNr2
    QRect body;                 // panBody1
    QRect footer;               // panFooter
    // Inside the body: the green frame, the inner panel and the grid, each
    // relative to its parent.
    QRect gridFrame, gridPanel, grid;
};

// Heights of the fixed panels.
constexpr int SalesTitleHeight = 64;
constexpr int SalesNumberHeight = 80;
constexpr int SalesFooterHeight = 70;
// The shadow's offset right and down from its panel.
constexpr int SalesShadowOffset = 3;

SalesLayoutGeometry ComputeSalesLayout(QSize screen);

} // namespace qiantai
