// The line grid of the sales screen: a view over the session's sale lines
// and one entry row. Row 0 is the header; row n shows line n. The screen
// sees every key first and passes the others on to the grid.
#pragma once

#include "screens/sales/itementry.h"
#include "screens/sales/salegridrules.h"

#include <QPointer>
#include <QTableView>

#include <memory>

class QLineEdit;

namespace qiantai {

class SaleGridModel;
class SaleGridDelegate;

class TSaleGrid : public QTableView {
    Q_OBJECT
public:
    explicit TSaleGrid(QWidget* parent);
    ~TSaleGrid() override;

    // Header and one empty entry row; cursor on row 1, column 0; focus.
    void ResetRows();
    // 1-based grid row of the cursor (0 would be the header).
    int CurrentRow() const;
    int CurrentCol() const;
    // The cursor row holds a sale line, not the entry row.
    bool CurrentRowHasLine() const;
    // Moves the cursor as the cashier would: the cell being left is taken
    // first and may keep the cursor (while busy it never does).
    void SetCursor(int row, int col);
    // After line `row` was removed from SaleLines: its grid row goes, or with
    // a single row that row is emptied into the entry row.
    void RemoveLineRow(int row);
    // Column widths of the sales screen's layout for a grid `gridWidth` wide.
    void SetColumnWidthsFor(int gridWidth);
    // While set, leaving a cell does nothing.
    void SetBusy(bool busy);
    bool Busy() const { return busy_; }

    // Rows including the header, as the screen counts them.
    int GridRowCount() const;
    QString CellText(int row, int col) const;
    // Shows every line again after something else changed them (discounts).
    void RefreshLines();
    // The dialogs product entry opens; by default the information box and
    // the product pick list. The grid does not own them.
    void SetPrompts(EntryPrompts* prompts);

    // Used by the cell editor.
    void EditorKey(int key);
    void CancelEditor();
    CellEditor CurrentEditor() const;

signals:
    // Lines, totals or the current line changed: refresh the labels.
    void LinesChanged();
    // The footer must show the details of row `row` (empty when no line).
    void CurrentLineShown(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool GridKey(int key);
    void EnterKey();
    void EnterProduct();
    void ConfirmAmount();
    bool MoveTo(int row, int col);
    bool LeaveCell(int targetRow, int targetCol);
    void PlaceCursor(int row, int col);
    void OpenEditor(const QString& text);
    void CommitEditor();
    QLineEdit* OpenedEditor() const;

    std::unique_ptr<EntryPrompts> dialogs_;
    EntryPrompts* prompts_ = nullptr;
    SaleGridModel* model_ = nullptr;
    SaleGridDelegate* delegate_ = nullptr;
    std::unique_ptr<TItemEntry> entry_;
    bool busy_ = false;
    bool entering_ = false;
    bool forwarding_ = false; // a key is on its way from the grid to its editor
};

} // namespace qiantai
