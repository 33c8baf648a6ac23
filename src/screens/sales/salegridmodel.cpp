#include "screens/sales/salegridmodel.h"

namespace qiantai {

SaleGridModel::SaleGridModel(SaleSession& session, QObject* parent)
    : QAbstractTableModel(parent), session_(session)
{
}

int SaleGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : GridRowCount() - 1;
}

int SaleGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : gridcol::Count;
}

bool SaleGridModel::RowHasLine(int row) const
{
    return row >= 1 && row <= lineRows_ && row <= session_.SaleLines.Count();
}

const TSaleRecord* SaleGridModel::LineAt(int row) const
{
    return RowHasLine(row) ? &session_.SaleLines[row - 1] : nullptr;
}

CellEditor SaleGridModel::EditorAt(int row, int col) const
{
    if (row < 1 || row >= GridRowCount())
        return CellEditor::None;
    return EditorFor(row, col, LineAt(row));
}

bool SaleGridModel::OfferRow(int row) const
{
    return Text(row, gridcol::Offer) == QLatin1String("1");
}

QString SaleGridModel::Text(int row, int col) const
{
    if (col < 0 || col >= gridcol::Count || row < 1 || row >= GridRowCount())
        return {};
    if (const TSaleRecord* line = LineAt(row)) {
        const auto it = typed_.constFind(Key(row, col));
        if (it != typed_.constEnd())
            return *it;
        return LineCellTexts(*line)[col];
    }
    return row == lineRows_ + 1 ? entryTexts_[col] : QString();
}

void SaleGridModel::SetText(int row, int col, const QString& text)
{
    if (col < 0 || col >= gridcol::Count || row < 1 || row >= GridRowCount())
        return;
    if (RowHasLine(row))
        typed_[Key(row, col)] = text;
    else
        entryTexts_[col] = text;
    const QModelIndex i = index(row - 1, col);
    emit dataChanged(i, i, {Qt::DisplayRole});
}

QVariant SaleGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const int row = index.row() + 1;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return Text(row, index.column());
    case Qt::TextAlignmentRole:
        return int((GridColumnRightAligned(index.column()) ? Qt::AlignRight : Qt::AlignLeft) |
                   Qt::AlignVCenter);
    default:
        return {};
    }
}

bool SaleGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    SetText(index.row() + 1, index.column(), value.toString());
    return true;
}

QVariant SaleGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::DisplayRole)
        return GridHeader(section);
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    return {};
}

Qt::ItemFlags SaleGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (EditorAt(index.row() + 1, index.column()) != CellEditor::None)
        f |= Qt::ItemIsEditable;
    return f;
}

void SaleGridModel::Reset()
{
    beginResetModel();
    lineRows_ = 0;
    hasEntryRow_ = true;
    entryTexts_ = {};
    typed_.clear();
    endResetModel();
}

void SaleGridModel::DropTypedTexts(int row)
{
    for (int col = 0; col < gridcol::Count; ++col)
        typed_.remove(Key(row, col));
}

void SaleGridModel::ShowLine(int row)
{
    if (!RowHasLine(row))
        return;
    DropTypedTexts(row);
    emit dataChanged(index(row - 1, 0), index(row - 1, gridcol::Count - 1));
}

void SaleGridModel::ShowAllLines()
{
    if (lineRows_ != session_.SaleLines.Count()) {
        beginResetModel();
        lineRows_ = session_.SaleLines.Count();
        hasEntryRow_ = hasEntryRow_ || lineRows_ == 0;
        typed_.clear();
        endResetModel();
        return;
    }
    typed_.clear();
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, gridcol::Count - 1));
}

void SaleGridModel::ClearEntryRow()
{
    if (!hasEntryRow_)
        return;
    entryTexts_ = {};
    const int r = lineRows_;
    emit dataChanged(index(r, 0), index(r, gridcol::Count - 1));
}

void SaleGridModel::EntryRowBecameLine()
{
    if (!hasEntryRow_)
        return;
    ++lineRows_;
    hasEntryRow_ = false;
    entryTexts_ = {};
    const int r = lineRows_ - 1;
    emit dataChanged(index(r, 0), index(r, gridcol::Count - 1));
}

void SaleGridModel::AppendEntryRow()
{
    if (hasEntryRow_)
        return;
    beginInsertRows({}, lineRows_, lineRows_);
    hasEntryRow_ = true;
    entryTexts_ = {};
    endInsertRows();
}

void SaleGridModel::RemoveLineRow(int row)
{
    if (row < 1 || row > lineRows_)
        return;
    typed_.clear();
    if (GridRowCount() < 3) {
        // The only row stays, empty: it is the entry row now.
        lineRows_ = 0;
        hasEntryRow_ = true;
        entryTexts_ = {};
        emit dataChanged(index(0, 0), index(0, gridcol::Count - 1));
        return;
    }
    beginRemoveRows({}, row - 1, row - 1);
    --lineRows_;
    endRemoveRows();
}

} // namespace qiantai
