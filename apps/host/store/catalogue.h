// Products: lookup, stock checks and the rebate of a sale.
#pragma once

#include "hostcontext.h"

#include "qiantai/datapacket.h"

namespace qiantai::host {

// Products whose code, item number or bar code is `code` (several when
// products share a bar code), with the columns the sales screen reads.
// Refuses an empty or unknown code.
bool LookupProducts(HostContext& ctx, const QString& code, DataPacket* out, QString* message);

// The store's stock rule: a sale may not take a product's stock below zero
// unless the stock control parameter kckz is "1" or absent, or the product
// is booked as purchased when sold. StockControlSql() is a subquery giving
// kckz (NULL when absent), to be read with the products.
const QString& StockControlSql();
bool StockKeptAboveZero(const QVariant& kckz, bool soldThenPurchased);
// The refusal of a stock check of a counter group.
QString GroupStockRefusal(const QString& product, const QString& group, double stock, double otherLines,
                          double quantity);

// Stock of the counter group (or of all groups inside a department code)
// against this line's quantity plus the document's other lines, where the
// stock rule applies.
bool CheckGroupStock(HostContext& ctx, const QString& product, const QString& group, double quantity,
                     double otherLines, QString* message);
// Stock of a warehouse of the distribution centre (all its warehouses when
// `warehouse` is empty).
bool CheckCentreStock(HostContext& ctx, const QString& product, const QString& centre,
                      const QString& warehouse, double quantity, double otherLines, QString* message);

// Sum of the rebates of the rebate products among the lines (f_Flsp = 1):
// each line's amount times its product's rebate rate, rounded to cents.
bool CalculateLinesRebate(HostContext& ctx, const DataPacket& lines, double* rebate, QString* message);

// Refuses when the packet lacks any of `columns`.
bool RequireColumns(const DataPacket& p, const QStringList& columns, const QString& what, QString* message);

} // namespace qiantai::host
