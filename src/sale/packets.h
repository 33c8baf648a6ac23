// The packets handed to the host when a sale is recorded.
#pragma once

#include "qiantai/datapacket.h"
#include "sale/saleitems.h"

#include <QVariant>

namespace qiantai {

struct SaleSession;

// One row per sale line, in line order.
DataPacket SaleLinesPacket(const TSaleRecords& lines);

// One row per payment entry, then the change row (f_Zffs -1, AmountPaid -
// AmountDue) and, when documents were collected, the unified-collection row
// (f_Zffs 0, -UnifiedTotal).
DataPacket PaymentPacket(const SaleSession& s);

// One row per bank card transaction.
DataPacket CardPacket(const TAllXyk& transactions);

// QVariantList of five: PaymentPacket, CardPacket, SuspendFlag,
// CollectedSales and CollectedPreSales (as ListToVariantArray gives them).
QVariant PaymentBundle(const SaleSession& s);

} // namespace qiantai
