// Document numbers: sales "0000000001" (10 digits), pre-sales YYYYMM + 6
// digits. One counter row per kind, advanced by a single atomic statement,
// so that tills allocating at the same moment never get the same number.
#pragma once

#include "hostcontext.h"

namespace qiantai::host {

enum class NumberKind { Sale, PreSale };

// Checks the cashier and the counter group, then hands out the next number
// of `kind` and logs which till asked.
bool AllocateNumber(HostContext& ctx, NumberKind kind, const QString& cashier, const QString& group,
                    QString* number, QString* message);

// Next value of a counter (`key` separates e.g. months); starts at 1.
bool NextCounter(Database& db, const QString& kind, const QString& key, qint64* value, QString* message);

} // namespace qiantai::host
