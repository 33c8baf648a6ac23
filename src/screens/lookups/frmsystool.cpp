#include "screens/lookups/frmsystool.h"

#include "screens/lookups/frmsystoolrules.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>

namespace qiantai {

namespace {

constexpr int RowHeight = 24;
constexpr int MenuWidth = 220;
constexpr int LabelHeight = 20;

} // namespace

TFrmSysTool::TFrmSysTool(QWidget* parent, const TAllSysTools& tools) : TBlueFrame(parent)
{
    setObjectName(QStringLiteral("frmSysTool"));
    setHeading(QStringLiteral("系统功能"));
    setKeyHint(QStringLiteral("【Enter】确定 【Esc】退出"));
    const int rows = tools.Count();
    setBodySize(QSize(MenuWidth, RowHeight * rows + LabelHeight + 4));
    list_ = new QListWidget(body());
    list_->setFrameShape(QFrame::NoFrame);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setGeometry(0, 0, MenuWidth, RowHeight * rows);
    for (int i = 0; i < rows; ++i) {
        auto* item = new QListWidgetItem(SysToolEntryText(i + 1, tools.Item(i).Caption), list_);
        item->setSizeHint(QSize(MenuWidth, RowHeight));
    }
    selection_ = new QLabel(body());
    selection_->setGeometry(8, RowHeight * rows + 2, MenuWidth - 16, LabelHeight);
    routeKeys(list_);
    Select(0);
}

int TFrmSysTool::Selected() const
{
    return list_->currentRow();
}

QString TFrmSysTool::SelectionText() const
{
    return selection_->text();
}

void TFrmSysTool::showEvent(QShowEvent* event)
{
    TBlueFrame::showEvent(event);
    list_->setFocus();
}

void TFrmSysTool::Select(int row)
{
    if (row < 0 || row >= list_->count())
        return;
    list_->setCurrentRow(row);
    selection_->setText(SysToolSelectionText(row + 1));
}

bool TFrmSysTool::frameKey(QKeyEvent* event)
{
    if (IsEscKey(event)) {
        finish(2);
        return true;
    }
    if (IsEnterKey(event)) {
        if (Selected() < 0)
            return true;
        chosen_ = Selected() + 1;
        finish(1);
        return true;
    }
    // Every other key is the menu's: the list never moves by itself.
    Select(SysToolSelectionAfterKey(Selected(), list_->count(), event->key(), event->text()));
    return true;
}

} // namespace qiantai
