#include "screens/sales/salegridrules.h"

#include "base/numbertext.h"

#include <algorithm>

namespace qiantai {

QString GridHeader(int col)
{
    static const char* const headers[gridcol::Count] = {"商品代码", "商品名称", "规格型号", "数量",
                                                        "单价",     "折扣",     "金额",     "限时限量"};
    return col >= 0 && col < gridcol::Count ? QString::fromUtf8(headers[col]) : QString();
}

bool GridColumnRightAligned(int col)
{
    return col >= gridcol::Quantity && col <= gridcol::Amount;
}

std::array<int, gridcol::Count> GridColumnWidths(int w)
{
    std::array<int, gridcol::Count> widths{
        w / 8, w - 6 * (w / 8) + 96, 4 * (w / 16) - 100, w / 16, w / 8, w / 16, w / 8, 0};
    for (int& width : widths)
        width = std::max(width, 0);
    return widths;
}

GridRowTexts LineCellTexts(const TSaleRecord& line)
{
    GridRowTexts t;
    t[gridcol::Code] = line.ProductCode;
    t[gridcol::Name] = line.ProductName;
    t[gridcol::Model] = line.SpecModel;
    t[gridcol::Quantity] = FormatFixed(line.Quantity, line.WholeQtyOnly == 1 ? 0 : 2);
    t[gridcol::Price] = FormatFixed(line.UnitPrice, 2);
    t[gridcol::Discount] = FormatFixed(line.AutoDiscount + line.ManualDiscount, 2);
    t[gridcol::Amount] = FormatFixed(line.NetAmount + line.TaxAmount, 2);
    if (line.LimitedOffer == 1)
        t[gridcol::Offer] = QStringLiteral("1");
    return t;
}

bool IsOfferRow(const GridRowTexts& texts)
{
    return texts[gridcol::Offer] == QLatin1String("1");
}

CellEditor EditorFor(int row, int col, const TSaleRecord* line)
{
    if (row < 1)
        return CellEditor::None;
    const bool offer = line != nullptr && line->LimitedOffer == 1;
    switch (col) {
    case gridcol::Code:
        return line == nullptr ? CellEditor::Code : CellEditor::None;
    case gridcol::Quantity:
        return line != nullptr && line->WholeQtyOnly == 1 ? CellEditor::Digits : CellEditor::Text;
    case gridcol::Price:
    case gridcol::Amount:
        return offer ? CellEditor::None : CellEditor::Float;
    default:
        return CellEditor::None;
    }
}

CellCharRule EditorCharRule(CellEditor editor)
{
    switch (editor) {
    case CellEditor::Code:
    case CellEditor::Digits:
        return IsDigitChar;
    case CellEditor::Float:
        return IsNumberChar;
    case CellEditor::Text:
    case CellEditor::None:
        break;
    }
    return nullptr;
}

bool EditorAccepts(CellEditor editor, QChar ch)
{
    if (ch == QChar(8) || ch == QChar(13))
        return true;
    if (const CellCharRule rule = EditorCharRule(editor))
        return rule(ch);
    return editor == CellEditor::Text && ch.isPrint();
}

bool ColumnFixed(int col, bool rowHasLine)
{
    return col == gridcol::Code && rowHasLine;
}

int NextFreeColumn(int col, int step, bool rowHasLine)
{
    for (int c = col + step; c >= 0 && c <= gridcol::LastVisible; c += step)
        if (!ColumnFixed(c, rowHasLine))
            return c;
    return -1;
}

LineDetails LineDetailsOf(const TSaleRecords& lines, int row)
{
    LineDetails d;
    if (row < 1 || row > lines.Count())
        return d;
    const TSaleRecord& line = lines[row - 1];
    d.code = line.ProductCode;
    d.itemNo = line.ItemNo;
    d.barCode = line.BarCode;
    d.unit = line.Unit;
    d.packingRate = FormatFixed(line.PackingRate, 2);
    d.discount = FormatFixed(line.AutoDiscount + line.ManualDiscount, 2);
    return d;
}

} // namespace qiantai
