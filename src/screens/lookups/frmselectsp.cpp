#include "screens/lookups/frmselectsp.h"

#include "controls/cjkfont.h"
#include "screens/lookups/frmselectsprules.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QTableWidget>

namespace qiantai {

namespace {

constexpr QSize ListPanel{600, 260};

} // namespace

TfrmSelectSp::TfrmSelectSp(QWidget* parent) : TBlueFrame(parent), list_(new QTableWidget(body()))
{
    setObjectName(QStringLiteral("frmSelectSp"));
    setHeading(QString::fromUtf8("选 择 要 销 售 的 商 品"));
    setKeyHint(QString::fromUtf8("【Enter】确定    【Esc】取消"));
    setBodySize(ListPanel);

    list_->setGeometry(QRect(QPoint(0, 0), ListPanel));
    list_->setFont(SongtiPixelFont(14));
    list_->setColumnCount(int(ProductPickHeaders().size()));
    list_->setHorizontalHeaderLabels(ProductPickHeaders());
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setSortingEnabled(false);
    list_->setTabKeyNavigation(false);
    list_->verticalHeader()->hide();
    list_->horizontalHeader()->setSectionsClickable(false);
    list_->horizontalHeader()->setSortIndicatorShown(false);
    list_->horizontalHeader()->setStretchLastSection(true);
    list_->setColumnWidth(0, 110);
    list_->setColumnWidth(1, 110);
    list_->setColumnWidth(2, 140);
    // The highlight stays visible when the list is not focused.
    QPalette pal = list_->palette();
    pal.setColor(QPalette::Inactive, QPalette::Highlight, pal.color(QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText,
                 pal.color(QPalette::Active, QPalette::HighlightedText));
    list_->setPalette(pal);
    routeKeys(list_);
    list_->setFocus();
}

void TfrmSelectSp::setRows(const DataPacket& rows)
{
    rows_ = rows;
    chosenRow_ = -1;
    const QStringList fields = ProductPickFields();
    list_->clearContents();
    list_->setRowCount(rows.rowCount());
    for (int r = 0; r < rows.rowCount(); ++r)
        for (int c = 0; c < fields.size(); ++c)
            list_->setItem(r, c, new QTableWidgetItem(ProductPickText(rows, r, fields[c])));
    if (rows.rowCount() > 0)
        list_->selectRow(0);
}

void TfrmSelectSp::showEvent(QShowEvent* event)
{
    centreOnScreen();
    TBlueFrame::showEvent(event);
}

bool TfrmSelectSp::frameKey(QKeyEvent* event)
{
    if (IsEscKey(event)) {
        chosenRow_ = -1;
        finish(QDialog::Rejected);
        return true;
    }
    if (!IsEnterKey(event)) {
        // Typed text would jump to a matching line: only Up, Down and the
        // mouse move the highlight.
        return !event->text().isEmpty() && event->text().at(0).isPrint();
    }
    const QModelIndexList selected = list_->selectionModel()->selectedRows(0);
    if (selected.isEmpty())
        return true;
    const int line = selected.first().row();
    const int row = ChosenProductRow(rows_, line, list_->item(line, 0)->text());
    if (row < 0)
        return true;
    chosenRow_ = row;
    finish(QDialog::Accepted);
    return true;
}

} // namespace qiantai
