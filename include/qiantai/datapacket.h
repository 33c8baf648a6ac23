// A table value exchanged with the host: typed, named columns and rows of
// QVariant. Carried inside a QVariant. Header-only so that a host and the
// module share it without linking against each other.
#pragma once

#include <QList>
#include <QMetaType>
#include <QString>
#include <QVariant>
#include <QVariantList>

namespace qiantai {

enum class FieldType { Text, Integer, Float, Boolean, DateTime };

struct DataColumn {
    QString name;
    FieldType type = FieldType::Text;
    int size = 0; // bytes for fixed-size text columns, 0 otherwise
};

class DataPacket {
public:
    DataPacket() = default;
    explicit DataPacket(QList<DataColumn> columns) : columns_(std::move(columns)) {}

    void addColumn(const QString& name, FieldType type, int size = 0)
    {
        columns_.append({name, type, size});
        for (auto& r : rows_)
            r.append(QVariant());
    }
    const QList<DataColumn>& columns() const { return columns_; }
    int columnCount() const { return int(columns_.size()); }

    // Index of a column by name, ignoring case; -1 when absent.
    int columnIndex(const QString& name) const
    {
        for (int i = 0; i < columns_.size(); ++i)
            if (columns_[i].name.compare(name, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    }
    bool hasColumn(const QString& name) const { return columnIndex(name) >= 0; }

    int rowCount() const { return int(rows_.size()); }
    bool isEmpty() const { return rows_.isEmpty(); }

    // Appends a row of nulls and returns its index.
    int appendRow()
    {
        rows_.append(QVariantList(columns_.size()));
        return int(rows_.size()) - 1;
    }
    // Appends a row of values in column order; missing values are null.
    int appendRow(QVariantList values)
    {
        values.resize(columns_.size());
        rows_.append(std::move(values));
        return int(rows_.size()) - 1;
    }
    const QVariantList& row(int r) const { return rows_[r]; }

    QVariant value(int r, int c) const
    {
        if (r < 0 || r >= rows_.size() || c < 0 || c >= columns_.size())
            return {};
        return rows_[r][c];
    }
    // Null QVariant when the row or column does not exist.
    QVariant value(int r, const QString& column) const { return value(r, columnIndex(column)); }

    bool setValue(int r, int c, const QVariant& v)
    {
        if (r < 0 || r >= rows_.size() || c < 0 || c >= columns_.size())
            return false;
        rows_[r][c] = v;
        return true;
    }
    bool setValue(int r, const QString& column, const QVariant& v)
    {
        return setValue(r, columnIndex(column), v);
    }

    void clearRows() { rows_.clear(); }

private:
    QList<DataColumn> columns_;
    QList<QVariantList> rows_;
};

} // namespace qiantai

Q_DECLARE_METATYPE(qiantai::DataPacket)

namespace qiantai {

inline QVariant packetToVariant(const DataPacket& p)
{
    return QVariant::fromValue(p);
}

// The packet carried by `v`; an empty packet when `v` holds none.
inline DataPacket packetFromVariant(const QVariant& v, bool* ok = nullptr)
{
    const bool is = v.metaType() == QMetaType::fromType<DataPacket>();
    if (ok)
        *ok = is;
    return is ? v.value<DataPacket>() : DataPacket();
}

} // namespace qiantai
