// The line grid's table: a view over the session's sale lines plus at most
// one entry row below them. A line row shows its line; text typed into one of
// its cells is kept apart until the cell is left and the row shown again.
// Rows here are grid rows: 1 is the first line (model row 0).
#pragma once

#include "sale/salesession.h"
#include "screens/sales/salegridrules.h"

#include <QAbstractTableModel>
#include <QHash>

namespace qiantai {

class SaleGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit SaleGridModel(SaleSession& session, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Rows of the grid including the header.
    int GridRowCount() const { return lineRows_ + (hasEntryRow_ ? 1 : 0) + 1; }
    int LineRows() const { return lineRows_; }
    bool RowHasLine(int row) const;
    const TSaleRecord* LineAt(int row) const;
    CellEditor EditorAt(int row, int col) const;
    bool OfferRow(int row) const;

    QString Text(int row, int col) const;
    void SetText(int row, int col, const QString& text);

    // The header and one empty entry row.
    void Reset();
    // Typed text of line row `row` is dropped; the row shows its line.
    void ShowLine(int row);
    // Every line row shows its line again; rows follow SaleLines.
    void ShowAllLines();
    void ClearEntryRow();
    // The entry row now holds the line appended to SaleLines.
    void EntryRowBecameLine();
    void AppendEntryRow();
    // After line `row` left SaleLines: with a single row it becomes the entry
    // row, else its grid row goes.
    void RemoveLineRow(int row);

private:
    static quint64 Key(int row, int col) { return (quint64(quint32(row)) << 32) | quint32(col); }
    void DropTypedTexts(int row);

    SaleSession& session_;
    int lineRows_ = 0;
    bool hasEntryRow_ = true;
    GridRowTexts entryTexts_;
    QHash<quint64, QString> typed_; // (row, col) of line rows
};

} // namespace qiantai
