// Recording a finished sale document (904 to 907): one transaction per
// document with its header, lines, payments, bank card rows, stock,
// customer account, limited-offer reservations and collected documents.
#pragma once

#include "hostcontext.h"

#include "qiantai/datapacket.h"

#include <QVariantList>

namespace qiantai::host {

enum class SaleKind {
    StorePickup,     // 904, sale tables
    StoreDelivery,   // 905, pre-sale tables
    Installation,    // 906, pre-sale tables and an installation document
    CentralDelivery, // 907, pre-sale tables and the centre's delivery order
};

struct SaleDocument {
    SaleKind kind = SaleKind::StorePickup;
    QString number;
    QString cashier, cashierName, operatorTag;
    QString salesperson, salespersonName;
    QString group; // counter group (the department for stores without groups)
    QString warehouse;
    QString centre; // 907 only
    QString cardNo, memberAccount;
    double amount = 0; // 905-907: the part of the amount due that is this document's
    DataPacket lines;
    QVariantList bundle; // payments, bank cards, suspension flag, collected sales, collected pre-sales
    QString customerInfo;
};

// Validates and stores the document in the host's accounting month. The
// number log says whether and in which month a number was stored: a retry
// of the same document succeeds without writing, in whatever month it was
// stored; the same number with other content is refused. On success
// `pointsAmount` is the amount that earns loyalty points.
bool RecordSaleDocument(HostContext& ctx, const SaleDocument& doc, double* pointsAmount, QString* message);

// Central delivery: the centre's order is committed, pending, just before
// the store's document and confirmed after it. This settles the pending
// orders of attempts that died in between: confirmed when the store has
// the document, removed (stock back) when it has not. Orders of attempts
// still running are left alone. Runs when a host starts.
bool SettleCentreOrders(HostContext& ctx, QString* message);

// What suspended document `?` still owes, and its remark: its suspension
// entry, the last cash row of its payments; its cash amount when it has no
// payment rows.
QString OwedAmountSql(const QString& header, const QString& payments);

// The remark marker of a document waiting to be collected.
inline QString CollectionMarker()
{
    return QStringLiteral("统收单据XXXX");
}

} // namespace qiantai::host
