#include "screens/checkout/frmselectzffs.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QTableWidget>

namespace qiantai {

namespace {

constexpr int RowHeight = 24;
constexpr int FrameLeft = 8;
constexpr int GridTop = 28;
constexpr int DialogWidth = 178;

} // namespace

TfrmSelectZffs::TfrmSelectZffs(QWidget* parent) : TCheckoutDialog(parent)
{
    setObjectName(QStringLiteral("frmSelectZffs"));
    setWindowTitle(QStringLiteral("客户付款方式"));
    resize(DialogWidth, 263);
    auto* title = PlaceLabel(this, QStringLiteral("客户付款方式"), FrameLeft, 6);
    title->setFont(CheckoutFont(10, true));
    title->adjustSize();

    grid_ = new QTableWidget(this);
    grid_->setColumnCount(1);
    grid_->horizontalHeader()->hide();
    grid_->verticalHeader()->hide();
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->verticalHeader()->setDefaultSectionSize(RowHeight);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid_->setFrameShape(QFrame::Box);
    grid_->setGeometry(FrameLeft, GridTop, DialogWidth - 2 * FrameLeft, RowHeight);
    RouteKeys(grid_);

    selection_ = PlaceLabel(this, QStringLiteral("选择[1]项"), FrameLeft, 0);
    hint_ = PlaceLabel(this, QStringLiteral("【Enter】确定 【Esc】退出"), FrameLeft, 0);
}

void TfrmSelectZffs::BuildRows(const TAllPayment& methods)
{
    grid_->clearContents();
    methodIndex_.clear();
    grid_->setRowCount(methods.Count());
    for (int i = 0; i < methods.Count(); ++i) {
        grid_->setItem(i, 0, new QTableWidgetItem(QStringLiteral("  [%1] ").arg(i + 1) + methods[i].Name));
        grid_->setRowHeight(i, RowHeight);
        methodIndex_.append(i);
    }
    const int frame = 2 * grid_->frameWidth();
    grid_->setFixedHeight(methods.Count() * RowHeight + frame);
    selection_->move(FrameLeft, grid_->geometry().bottom() + 1 + 3);
    hint_->move(FrameLeft, selection_->geometry().bottom() + 1 + 3);
    setFixedSize(DialogWidth, hint_->geometry().bottom() + 1 + 6);
    SetCurrentRow(0);
}

int TfrmSelectZffs::RowCount() const
{
    return grid_->rowCount();
}

int TfrmSelectZffs::CurrentRow() const
{
    return grid_->currentRow();
}

QString TfrmSelectZffs::RowText(int row) const
{
    const QTableWidgetItem* item = grid_->item(row, 0);
    return item ? item->text() : QString();
}

QString TfrmSelectZffs::SelectionText() const
{
    return selection_->text();
}

void TfrmSelectZffs::SetCurrentRow(int row)
{
    if (row < 0 || row >= RowCount())
        return;
    grid_->setCurrentCell(row, 0);
    selection_->setText(QStringLiteral("选择[%1]项").arg(row + 1));
    selection_->adjustSize();
}

bool TfrmSelectZffs::DialogKey(QKeyEvent* event)
{
    const int rows = RowCount();
    const int key = event->key();
    if (key == Qt::Key_Down) {
        SetCurrentRow(CurrentRow() + 1 >= rows ? 0 : CurrentRow() + 1);
        return true;
    }
    if (key == Qt::Key_Up) {
        SetCurrentRow(CurrentRow() <= 0 ? rows - 1 : CurrentRow() - 1);
        return true;
    }
    if (key >= Qt::Key_1 && key <= Qt::Key_9) {
        const int n = key - Qt::Key_0;
        if (n <= rows)
            SetCurrentRow(n - 1);
        return true;
    }
    if (IsEnter(event)) {
        if (CurrentRow() < 0)
            return true;
        result_ = methodIndex_.value(CurrentRow()) + 1;
        Finish(QDialog::Accepted);
        return true;
    }
    if (key == Qt::Key_Escape) {
        Finish(QDialog::Rejected);
        return true;
    }
    // Other keys (Home, Page Down, letters) do not move the selection.
    return true;
}

} // namespace qiantai
