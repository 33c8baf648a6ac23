#include "screens/sales/salegridrules.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace qiantai;

TEST(SaleGridRules, ColumnWidthsFollowTheGridWidth)
{
    const auto w = GridColumnWidths(1000);
    EXPECT_EQ(w, (std::array<int, 8>{125, 346, 148, 62, 125, 62, 125, 0}));
    EXPECT_EQ(std::accumulate(w.begin(), w.end(), 0), 993);
    for (int width : GridColumnWidths(200))
        EXPECT_GE(width, 0);
}

TEST(SaleGridRules, WhichCellsEditAndWithWhatEditor)
{
    TSaleRecord plain;
    TSaleRecord whole;
    whole.WholeQtyOnly = 1;
    TSaleRecord offer;
    offer.LimitedOffer = 1;
    const TSaleRecord* none = nullptr;
    using E = CellEditor;
    const struct {
        const TSaleRecord* line;
        std::array<E, 8> editors; // columns 0..7
    } rows[] = {
        {none, {E::Code, E::None, E::None, E::Text, E::Float, E::None, E::Float, E::None}},
        {&plain, {E::None, E::None, E::None, E::Text, E::Float, E::None, E::Float, E::None}},
        {&whole, {E::None, E::None, E::None, E::Digits, E::Float, E::None, E::Float, E::None}},
        {&offer, {E::None, E::None, E::None, E::Text, E::None, E::None, E::None, E::None}},
    };
    for (const auto& r : rows)
        for (int col = 0; col < 8; ++col) {
            EXPECT_EQ(EditorFor(1, col, r.line), r.editors[col]) << "column " << col;
            EXPECT_EQ(EditorFor(0, col, r.line), E::None) << "header, column " << col;
        }
}

TEST(SaleGridRules, EditorsAcceptTheirCharactersOnly)
{
    const struct {
        CellEditor editor;
        const char* accepted;
        const char* dropped;
    } cases[] = {
        {CellEditor::Code, "0123456789", "a.- '"},
        {CellEditor::Digits, "0123456789", ".-,e "},
        {CellEditor::Float, "0123456789.", "-+a,' "},
        {CellEditor::Text, "0123456789.-a, '", ""},
        {CellEditor::None, "", "0a."},
    };
    for (const auto& c : cases) {
        for (const char* p = c.accepted; *p; ++p)
            EXPECT_TRUE(EditorAccepts(c.editor, QLatin1Char(*p))) << int(c.editor) << " '" << *p << "'";
        for (const char* p = c.dropped; *p; ++p)
            EXPECT_FALSE(EditorAccepts(c.editor, QLatin1Char(*p))) << int(c.editor) << " '" << *p << "'";
        EXPECT_TRUE(EditorAccepts(c.editor, QChar(8)));
    }
}

TEST(SaleGridRules, LeftAndRightSkipTheCodeColumnOnLineRowsOnly)
{
    EXPECT_EQ(NextFreeColumn(3, -1, true), 2);
    EXPECT_EQ(NextFreeColumn(1, -1, true), -1);
    EXPECT_EQ(NextFreeColumn(1, -1, false), 0);
    EXPECT_EQ(NextFreeColumn(0, 1, false), 1);
    EXPECT_EQ(NextFreeColumn(6, 1, true), -1); // the hidden offer column is never reached
    EXPECT_EQ(NextFreeColumn(0, -1, false), -1);
}

TEST(SaleGridRules, LineTextsAndDetails)
{
    TSaleRecords lines;
    TSaleRecord& l = lines.Add();
    l.ProductCode = "100001";
    l.ItemNo = "KF-1";
    l.BarCode = "690001";
    l.Unit = QString::fromUtf8("台");
    l.PackingRate = 1;
    l.ProductName = QString::fromUtf8("空调");
    l.SpecModel = "35GW";
    l.Quantity = 3;
    l.UnitPrice = 10;
    l.AutoDiscount = 0.125;
    l.ManualDiscount = 7.5;
    l.NetAmount = 25.64;
    l.TaxAmount = 4.36;

    GridRowTexts t = LineCellTexts(l);
    EXPECT_EQ(
        t, (GridRowTexts{"100001", QString::fromUtf8("空调"), "35GW", "3.00", "10.00", "7.63", "30.00", ""}));
    EXPECT_FALSE(IsOfferRow(t));
    l.WholeQtyOnly = 1;
    l.LimitedOffer = 1;
    t = LineCellTexts(l);
    EXPECT_EQ(t[gridcol::Quantity], "3");
    EXPECT_TRUE(IsOfferRow(t));

    const LineDetails d = LineDetailsOf(lines, 1);
    EXPECT_EQ(d.code, "100001");
    EXPECT_EQ(d.itemNo, "KF-1");
    EXPECT_EQ(d.barCode, "690001");
    EXPECT_EQ(d.unit, QString::fromUtf8("台"));
    EXPECT_EQ(d.packingRate, "1.00");
    EXPECT_EQ(d.discount, "7.63");
    const LineDetails empty = LineDetailsOf(lines, 2);
    EXPECT_TRUE(empty.code.isEmpty() && empty.packingRate.isEmpty() && empty.discount.isEmpty());
}
