// Bookkeeping of the payments taken at checkout.
#pragma once

#include "sale/saleitems.h"

#include <QString>

namespace qiantai {

struct SaleSession;

// Appends a payment entry with these fields and adds `amount` to AmountPaid.
// Every payment of a checkout goes through here.
TPayDetail& AddPaymentEntry(SaleSession& s, const QString& code, quint8 kind, const QString& cardNo,
                            const QString& memberAccount, qint32 source, const QString& customerCode,
                            double amount, double cardBalance);

// Sum of Amount over the entries with this code (0 when none).
double TotalByCode(const SaleSession& s, const QString& code);

// Sum of Amount over the entries of this kind (0 when none).
double TotalByKind(const SaleSession& s, quint8 kind);

// Whether a payment of this kind and amount may be accepted. Cash always
// may (the excess is change); any other kind may exceed what is still due
// only by as much cash as has already been taken, since change always comes
// out of cash.
bool CheckPaymentCap(const SaleSession& s, quint8 kind, double amount);

} // namespace qiantai
