#include "screens/lookups/frmselectsprules.h"

namespace qiantai {

QStringList ProductPickFields()
{
    return {QStringLiteral("f_Spbm"), QStringLiteral("f_sphh"), QStringLiteral("f_sptm"),
            QStringLiteral("f_spmc")};
}

QStringList ProductPickHeaders()
{
    return {QString::fromUtf8("商品编码"), QString::fromUtf8("商品货号"), QString::fromUtf8("商品条码"),
            QString::fromUtf8("商品名称")};
}

QString ProductPickText(const DataPacket& rows, int row, const QString& field)
{
    return rows.value(row, field).toString();
}

int ChosenProductRow(const DataPacket& rows, int line, const QString& lineCode)
{
    const QString field = QStringLiteral("f_Spbm");
    if (!rows.hasColumn(field))
        return -1;
    auto matches = [&](int row) {
        return ProductPickText(rows, row, field).compare(lineCode, Qt::CaseInsensitive) == 0;
    };
    if (line >= 0 && line < rows.rowCount() && matches(line))
        return line;
    for (int row = 0; row < rows.rowCount(); ++row)
        if (matches(row))
            return row;
    return -1;
}

} // namespace qiantai
