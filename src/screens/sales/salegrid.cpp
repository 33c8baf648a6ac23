#include "screens/sales/salegrid.h"

#include "base/numbertext.h"
#include "sale/salesession.h"
#include "screens/sales/salegridmodel.h"
#include "screens/sales/salegridpaint.h"
#include "screens/sales/salegridprompts.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

namespace qiantai {

TSaleGrid::TSaleGrid(QWidget* parent)
    : QTableView(parent), dialogs_(MakeDialogPrompts(this)), prompts_(dialogs_.get())
{
    setObjectName(QStringLiteral("sgdGrid"));
    model_ = new SaleGridModel(Session(), this);
    setModel(model_);
    delegate_ = new SaleGridDelegate(*this, *model_);
    setItemDelegate(delegate_);
    setHorizontalHeader(new SaleGridHeader(this));
    horizontalHeader()->setFixedHeight(GridRowHeight);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setMinimumSectionSize(0);
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(GridRowHeight);
    setColumnHidden(gridcol::Offer, true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setShowGrid(false); // the delegate draws the green lines
    setEditTriggers(NoEditTriggers);
    setSelectionMode(NoSelection);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setFont(gridlook::CellFont());
    QPalette p = palette();
    p.setColor(QPalette::Base, gridlook::CellColour());
    p.setColor(QPalette::Window, gridlook::CellColour());
    setPalette(p);
    entry_ = std::make_unique<TItemEntry>(Session(), *prompts_);
    ResetRows();
}

TSaleGrid::~TSaleGrid() = default;

void TSaleGrid::SetPrompts(EntryPrompts* prompts)
{
    prompts_ = prompts != nullptr ? prompts : dialogs_.get();
    entry_ = std::make_unique<TItemEntry>(Session(), *prompts_);
}

void TSaleGrid::ResetRows()
{
    if (QLineEdit* editor = OpenedEditor())
        closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
    model_->Reset();
    PlaceCursor(1, gridcol::Code);
    setFocus();
    viewport()->update();
}

int TSaleGrid::CurrentRow() const
{
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.row() + 1 : 0;
}

int TSaleGrid::CurrentCol() const
{
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.column() : 0;
}

bool TSaleGrid::CurrentRowHasLine() const
{
    return model_->RowHasLine(CurrentRow());
}

int TSaleGrid::GridRowCount() const
{
    return model_->GridRowCount();
}

QString TSaleGrid::CellText(int row, int col) const
{
    return model_->Text(row, col);
}

CellEditor TSaleGrid::CurrentEditor() const
{
    return model_->EditorAt(CurrentRow(), CurrentCol());
}

void TSaleGrid::SetCursor(int row, int col)
{
    CommitEditor();
    MoveTo(row, col);
}

void TSaleGrid::RemoveLineRow(int row)
{
    if (QLineEdit* editor = OpenedEditor())
        closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
    const int col = CurrentCol();
    model_->RemoveLineRow(row);
    PlaceCursor(std::min(std::max(CurrentRow(), 1), GridRowCount() - 1), col);
    viewport()->update();
}

void TSaleGrid::SetColumnWidthsFor(int gridWidth)
{
    const auto widths = GridColumnWidths(gridWidth);
    for (int col = 0; col < gridcol::Count; ++col)
        setColumnWidth(col, widths[col]);
}

void TSaleGrid::SetBusy(bool busy)
{
    busy_ = busy;
}

void TSaleGrid::RefreshLines()
{
    const int row = CurrentRow();
    const int col = CurrentCol();
    model_->ShowAllLines();
    PlaceCursor(std::min(std::max(row, 1), GridRowCount() - 1), col);
    emit LinesChanged();
    emit CurrentLineShown(CurrentRow());
}

QLineEdit* TSaleGrid::OpenedEditor() const
{
    return state() == EditingState ? delegate_->OpenedEditor() : nullptr;
}

void TSaleGrid::CommitEditor()
{
    if (QLineEdit* editor = OpenedEditor()) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void TSaleGrid::CancelEditor()
{
    if (QLineEdit* editor = OpenedEditor())
        closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
}

void TSaleGrid::OpenEditor(const QString& text)
{
    if (!edit(currentIndex(), AllEditTriggers, nullptr))
        return;
    if (QLineEdit* editor = OpenedEditor()) {
        editor->setText(text);
        editor->end(false);
    }
}

void TSaleGrid::EditorKey(int key)
{
    GridKey(key);
}

void TSaleGrid::PlaceCursor(int row, int col)
{
    if (row < 1 || row >= GridRowCount())
        return;
    const QModelIndex target = model_->index(row - 1, col);
    const QModelIndex previous = currentIndex();
    selectionModel()->setCurrentIndex(target, QItemSelectionModel::NoUpdate);
    if (previous.isValid())
        update(previous);
    update(target);
}

bool TSaleGrid::MoveTo(int row, int col)
{
    if (row < 1 || row >= GridRowCount() || col < 0 || col > gridcol::LastVisible)
        return false;
    if (!LeaveCell(row, col))
        return false;
    PlaceCursor(row, col);
    return true;
}

bool TSaleGrid::LeaveCell(int targetRow, int targetCol)
{
    const int row = CurrentRow();
    const int col = CurrentCol();
    if (busy_ || (row == targetRow && col == targetCol))
        return true;
    if (!model_->RowHasLine(row)) {
        model_->ClearEntryRow();
        if (targetRow != row)
            emit CurrentLineShown(targetRow);
        return true;
    }
    LeaveOutcome outcome = LeaveOutcome::Leave;
    switch (col) {
    case gridcol::Quantity:
        outcome = entry_->LeaveQuantity(row, model_->Text(row, gridcol::Quantity));
        break;
    case gridcol::Price:
        outcome = entry_->LeavePrice(row, model_->Text(row, gridcol::Price));
        break;
    case gridcol::Amount:
        outcome = entry_->LeaveAmount(row, model_->Text(row, gridcol::Quantity),
                                      model_->Text(row, gridcol::Amount));
        break;
    default:
        break;
    }
    if (outcome == LeaveOutcome::KeepText)
        return false;
    model_->ShowLine(row);
    if (outcome == LeaveOutcome::Restore)
        return false;
    emit LinesChanged();
    emit CurrentLineShown(targetRow);
    return true;
}

bool TSaleGrid::GridKey(int key)
{
    switch (key) {
    case Qt::Key_Right:
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        CommitEditor();
        break;
    default:
        return false;
    }
    const int row = CurrentRow();
    const int col = CurrentCol();
    const bool hasLine = model_->RowHasLine(row);
    const auto hasCode = [this](int r) { return !model_->Text(r, gridcol::Code).isEmpty(); };
    switch (key) {
    case Qt::Key_Right:
    case Qt::Key_Left: {
        const int next = NextFreeColumn(col, key == Qt::Key_Right ? 1 : -1, hasLine);
        if (next >= 0)
            MoveTo(row, next);
        return true;
    }
    case Qt::Key_Up:
        if (row >= 2 && hasCode(row - 1))
            MoveTo(row - 1, gridcol::Quantity);
        else
            MoveTo(row - 1, col);
        return true;
    case Qt::Key_Down:
        if (row >= 2 && row + 1 < GridRowCount() && hasCode(row + 1))
            MoveTo(row + 1, gridcol::Quantity);
        else
            MoveTo(row + 1, col);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        EnterKey();
        return true;
    default:
        return false;
    }
}

void TSaleGrid::EnterKey()
{
    const int row = CurrentRow();
    switch (CurrentCol()) {
    case gridcol::Code:
        // A line's code cannot be edited: Enter goes on to its quantity.
        if (model_->RowHasLine(row))
            MoveTo(row, gridcol::Quantity);
        else if (!model_->Text(row, gridcol::Code).trimmed().isEmpty())
            EnterProduct();
        break;
    case gridcol::Quantity:
        MoveTo(row, gridcol::Price);
        break;
    case gridcol::Price:
        MoveTo(row, gridcol::Amount);
        break;
    case gridcol::Amount:
        ConfirmAmount();
        break;
    default:
        break;
    }
}

void TSaleGrid::EnterProduct()
{
    if (entering_)
        return;
    entering_ = true;
    const int row = CurrentRow();
    const QString code = model_->Text(row, gridcol::Code).trimmed();
    const EntryOutcome outcome = entry_->EnterProduct(row, code);
    entering_ = false;
    switch (outcome) {
    case EntryOutcome::Unchanged:
        return;
    case EntryOutcome::Refused:
        model_->ClearEntryRow();
        PlaceCursor(row, gridcol::Code);
        emit LinesChanged();
        emit CurrentLineShown(CurrentRow());
        return;
    case EntryOutcome::Entered:
        model_->EntryRowBecameLine();
        MoveTo(row, gridcol::Quantity);
        emit LinesChanged();
        emit CurrentLineShown(row);
        return;
    }
}

void TSaleGrid::ConfirmAmount()
{
    const int row = CurrentRow();
    const int lines = model_->LineRows();
    const int last = GridRowCount() - 1;
    if (GridRowCount() == lines + 2 && row == last && model_->Text(row, gridcol::Code).isEmpty())
        return;
    const QString text = model_->Text(row, gridcol::Amount);
    if (text.trimmed().isEmpty())
        return;
    double amount = 0;
    if (!entry_->ReadNumber(text, amount))
        return;
    model_->SetText(row, gridcol::Amount, FormatFixed(amount, 2));
    if (GridRowCount() == lines + 1 && row == last)
        model_->AppendEntryRow();
    if (row + 1 < GridRowCount())
        MoveTo(row + 1, gridcol::Code);
}

void TSaleGrid::keyPressEvent(QKeyEvent* event)
{
    if (entering_) {
        event->accept();
        return;
    }
    if (GridKey(event->key())) {
        event->accept();
        return;
    }
    // A key sent to the grid itself while its editor is open goes on to the
    // editor, which filters it as typed there. What the editor does not take
    // (Ctrl, F12) comes back up to the grid: the copy goes on to the screen,
    // and the key ends here, so that it is neither sent round again nor seen
    // twice further up.
    if (QLineEdit* opened = OpenedEditor()) {
        if (forwarding_) {
            event->ignore();
            return;
        }
        if (event->key() == Qt::Key_Escape) {
            CancelEditor();
            event->ignore();
            return;
        }
        QKeyEvent copy(event->type(), event->key(), event->modifiers(), event->text());
        forwarding_ = true;
        QCoreApplication::sendEvent(opened, &copy);
        forwarding_ = false;
        event->accept();
        return;
    }
    const CellEditor editor = CurrentEditor();
    if (event->key() == Qt::Key_Backspace) {
        if (editor != CellEditor::None)
            OpenEditor(QString());
        event->accept();
        return;
    }
    const QString text = event->text();
    const bool character = !text.isEmpty() && text[0].isPrint() &&
                           !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (character) {
        if (EditorAccepts(editor, text[0]))
            OpenEditor(text.left(1));
        event->accept();
        return;
    }
    // Function keys, Esc and the rest belong to the screen.
    event->ignore();
}

void TSaleGrid::mousePressEvent(QMouseEvent* event)
{
    setFocus();
    const QModelIndex target = indexAt(event->position().toPoint());
    if (target.isValid()) {
        CommitEditor();
        MoveTo(target.row() + 1, target.column());
    }
    event->accept();
}

void TSaleGrid::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
}

void TSaleGrid::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
}

void TSaleGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
}

} // namespace qiantai
