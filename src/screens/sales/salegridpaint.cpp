#include "screens/sales/salegridpaint.h"

#include "controls/inputfilter.h"
#include "screens/sales/salegrid.h"
#include "screens/sales/salegridmodel.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>

namespace qiantai {

namespace {

constexpr int TextMargin = 2;

void DrawCellLines(QPainter* painter, const QRect& r)
{
    painter->setPen(gridlook::LineColour());
    painter->drawLine(r.topRight(), r.bottomRight());
    painter->drawLine(r.bottomLeft(), r.bottomRight());
}

} // namespace

QFont gridlook::CellFont()
{
    QFont font;
    font.setFamilies(
        {QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("WenQuanYi Micro Hei")});
    font.setPixelSize(16);
    return font;
}

SaleGridDelegate::SaleGridDelegate(TSaleGrid& grid, SaleGridModel& model)
    : QStyledItemDelegate(&grid), grid_(grid), model_(model), font_(gridlook::CellFont()), currentFont_(font_)
{
    currentFont_.setBold(true);
}

void SaleGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const
{
    const int row = index.row() + 1;
    const int col = index.column();
    const QRect r = option.rect;
    painter->fillRect(r, model_.OfferRow(row) ? gridlook::OfferRowColour() : gridlook::CellColour());
    DrawCellLines(painter, r);
    const bool current = row == grid_.CurrentRow() && col == grid_.CurrentCol();
    painter->setFont(current ? currentFont_ : font_);
    painter->setPen(current ? gridlook::CurrentCellColour() : QColor(Qt::black));
    const Qt::Alignment align =
        (GridColumnRightAligned(col) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
    painter->drawText(r.adjusted(TextMargin, 0, -TextMargin - 1, -1), int(align), model_.Text(row, col));
}

QWidget* SaleGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                        const QModelIndex& index) const
{
    auto* editor = new QLineEdit(parent);
    editor->setFrame(false);
    editor->setFont(font_);
    editor->setAlignment((GridColumnRightAligned(index.column()) ? Qt::AlignRight : Qt::AlignLeft) |
                         Qt::AlignVCenter);
    const CellEditor kind = model_.EditorAt(index.row() + 1, index.column());
    if (kind == CellEditor::Code)
        editor->setMaxLength(CodeMaxLength);
    if (const CellCharRule rule = EditorCharRule(kind))
        RestrictInput(editor, rule);
    QPalette p = editor->palette();
    p.setColor(QPalette::Base, Qt::white);
    editor->setPalette(p);
    editor_ = editor;
    return editor;
}

void SaleGridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    static_cast<QLineEdit*>(editor)->setText(model_.Text(index.row() + 1, index.column()));
}

void SaleGridDelegate::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const
{
    model_.SetText(index.row() + 1, index.column(), static_cast<QLineEdit*>(editor)->text());
}

void SaleGridDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                            const QModelIndex&) const
{
    editor->setGeometry(option.rect.adjusted(0, 0, -1, -1));
}

bool SaleGridDelegate::eventFilter(QObject* object, QEvent* event)
{
    auto* editor = qobject_cast<QLineEdit*>(object);
    if (editor == nullptr || event->type() != QEvent::KeyPress)
        return QStyledItemDelegate::eventFilter(object, event);
    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
        grid_.EditorKey(key->key());
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return true;
    case Qt::Key_Escape:
        // Drops the typing; the key goes on to the screen.
        grid_.CancelEditor();
        return false;
    default:
        break;
    }
    const QString text = key->text();
    if (!text.isEmpty() && text[0].isPrint() && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return !EditorAccepts(grid_.CurrentEditor(), text[0]);
    return false;
}

SaleGridHeader::SaleGridHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent)
{
    QFont font = gridlook::CellFont();
    font.setBold(true);
    setFont(font);
    setSectionsClickable(false);
    setHighlightSections(false);
}

void SaleGridHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    painter->save();
    painter->fillRect(rect, gridlook::CellColour());
    DrawCellLines(painter, rect);
    painter->setFont(font());
    painter->setPen(Qt::black);
    painter->drawText(rect, Qt::AlignCenter, GridHeader(logicalIndex));
    painter->restore();
}

} // namespace qiantai
