// How the line grid looks: cells and header drawn on the store's light blue
// with green lines, the current cell bold in dark blue, offer rows green.
#pragma once

#include <QColor>
#include <QFont>
#include <QHeaderView>
#include <QLineEdit>
#include <QPointer>
#include <QStyledItemDelegate>

namespace qiantai {

class SaleGridModel;
class TSaleGrid;

namespace gridlook {
inline QColor CellColour()
{
    return QColor(198, 223, 247);
}
inline QColor OfferRowColour()
{
    return QColor(0, 255, 0);
}
inline QColor LineColour()
{
    return QColor(0, 128, 0);
}
inline QColor CurrentCellColour()
{
    return QColor(0, 0, 192);
}
// 宋体, 16 pixels.
QFont CellFont();
} // namespace gridlook

// Paints the cells and gives each editable cell its line editor; keys that
// move or confirm go from the editor to the grid.
class SaleGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    SaleGridDelegate(TSaleGrid& grid, SaleGridModel& model);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;
    // The editor made last, while it exists.
    QLineEdit* OpenedEditor() const { return editor_; }

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    TSaleGrid& grid_;
    SaleGridModel& model_;
    QFont font_;
    QFont currentFont_;
    mutable QPointer<QLineEdit> editor_;
};

// The header row: bold, centred, on the cell colour with green lines.
class SaleGridHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit SaleGridHeader(QWidget* parent);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
};

} // namespace qiantai
