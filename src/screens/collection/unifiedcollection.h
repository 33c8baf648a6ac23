// Unified collection: other sale and pre-sale documents of the day, written
// under the same cashier and marked for collection, taken into the current
// checkout.
#pragma once

#include <QString>

namespace qiantai {

class HostService;
struct SaleSession;

// The query that finds a collectable document in the current month's sale
// (or pre-sale) headers and what it still owes, f_Dsje: the amount of its
// suspension entry, not its whole cash amount f_Xjje (cash taken before the
// suspension stays with the counter). Empty when Dqny is not a year-month.
QString UnifiedDocumentSql(const SaleSession& s, bool isPreSale, const QString& number,
                           const QString& hostDate);

// Takes the document `number` into the checkout once: when it is not yet
// collected and the host finds it, its number joins CollectedSales or
// CollectedPreSales and what it still owes is added to UnifiedTotal and
// AmountDue. Shows nothing; true when the document was taken.
bool AddUnifiedDocument(SaleSession& s, HostService& host, bool isPreSale, const QString& number);

// The full number of a typed sale document number: ten digits.
QString UnifiedSaleNumber(qint64 typed);
// The full number of a typed pre-sale document number: Dqny and six digits.
QString UnifiedPreSaleNumber(const QString& dqny, qint64 typed);

// Takes every document of a comma-separated list of typed numbers, in order.
// A blank text takes nothing. A piece that is not a whole number stops there
// with `error` set and false; documents taken before it stay taken.
bool CollectTypedDocuments(SaleSession& s, HostService& host, bool isPreSale, const QString& typed,
                           QString& error);

} // namespace qiantai
