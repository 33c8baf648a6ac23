// Rules of the product pick list that need no window.
#pragma once

#include "qiantai/datapacket.h"

#include <QStringList>

namespace qiantai {

// The list's columns in order: f_Spbm, f_sphh, f_sptm, f_spmc.
QStringList ProductPickFields();
// Their headers: "商品编码", "商品货号", "商品条码", "商品名称".
QStringList ProductPickHeaders();
// Text of a row's field as the list shows it; empty when the field is absent.
QString ProductPickText(const DataPacket& rows, int row, const QString& field);

// The row chosen by Enter on list line `line` showing product code
// `lineCode`: that line's own row when its f_Spbm equals the code (ignoring
// case), else the first row whose f_Spbm does; -1 when none does.
int ChosenProductRow(const DataPacket& rows, int line, const QString& lineCode);

} // namespace qiantai
