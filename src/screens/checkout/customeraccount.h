// The customer account screen's lookup of a store customer.
#pragma once

#include <QString>

namespace qiantai {

class HostService;

// The store customer `code` joined with the month's account totals; empty
// when `dqny` is not a year-month.
QString CustomerAccountSql(const QString& dqny, const QString& code);

// Looks up the trimmed `code`; true with the customer's name when the host
// finds it. A refused or failing query counts as an unknown customer.
bool LookupStoreCustomer(HostService& host, const QString& dqny, const QString& code, QString& name);

} // namespace qiantai
