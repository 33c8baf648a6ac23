// Columns of the line grid and the rules of its cells, free of widgets.
// Rows are counted as on the screen: row 0 is the header, row n shows line n
// of SaleLines (item n - 1), and one entry row may follow the last line.
#pragma once

#include "sale/saleitems.h"

#include <QChar>
#include <QString>
#include <QStringList>

#include <array>

namespace qiantai {

namespace gridcol {
constexpr int Code = 0;     // 商品代码
constexpr int Name = 1;     // 商品名称
constexpr int Model = 2;    // 规格型号
constexpr int Quantity = 3; // 数量
constexpr int Price = 4;    // 单价
constexpr int Discount = 5; // 折扣
constexpr int Amount = 6;   // 金额
constexpr int Offer = 7;    // 限时限量, hidden
constexpr int Count = 8;
constexpr int LastVisible = Amount;
} // namespace gridcol

constexpr int GridRowHeight = 21;
constexpr int CodeMaxLength = 20;

using GridRowTexts = std::array<QString, gridcol::Count>;

QString GridHeader(int col);
bool GridColumnRightAligned(int col);

// Column widths from the grid width W (integer division), as laid out on the
// sales screen; the hidden offer column gets 0. A narrow grid never gets a
// negative width.
std::array<int, gridcol::Count> GridColumnWidths(int gridWidth);

// What a line row shows: the product code, name, model, quantity
// ("0" for whole-quantity lines, else "0.00"), unit price, discount
// (automatic + manual), amount and "1" in the offer column for a line priced
// by a limited offer.
GridRowTexts LineCellTexts(const TSaleRecord& line);

// Whether a row counts as an offer row: its offer column holds "1".
bool IsOfferRow(const GridRowTexts& texts);

// The editor a cell gets; None for a cell that cannot be edited.
enum class CellEditor {
    None,
    Code,   // digits, at most CodeMaxLength characters
    Text,   // any text (quantity)
    Digits, // quantity of a whole-quantity line
    Float,  // unit price and amount: digits and "."
};

// Header, name, model and discount never edit; the code only on a
// row without a line; price and amount not on an offer row. `line` is the
// row's line, null for the entry row.
CellEditor EditorFor(int row, int col, const TSaleRecord* line);

// The character rule of a restricted editor: IsDigitChar for the code and a
// whole quantity, IsNumberChar for price and amount; null for the quantity
// text, which takes any character, and for None. The editor keeps every
// input path to it (keys, paste, drag).
using CellCharRule = bool (*)(QChar);
CellCharRule EditorCharRule(CellEditor editor);

// Whether `ch` may be typed into an editor of that kind. Backspace and Enter
// are handled as keys, not characters, and always pass.
bool EditorAccepts(CellEditor editor, QChar ch);

// Column 0 counts as fixed on a line row, so moving left and right skips it.
bool ColumnFixed(int col, bool rowHasLine);

// The nearest column from `col` in direction `step` (+1 or -1), within the
// visible columns, that is not fixed; -1 when there is none.
int NextFreeColumn(int col, int step, bool rowHasLine);

// The footer's line details: 编码, 货号, 条码, 计量单位, 包装率, 折扣.
struct LineDetails {
    QString code, itemNo, barCode, unit, packingRate, discount;
};

// Details of grid row `row`; all empty when the row holds no line.
LineDetails LineDetailsOf(const TSaleRecords& lines, int row);

} // namespace qiantai
