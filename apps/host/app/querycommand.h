// "qiantai-host query": one statement as the module would send it, rows
// printed tab-separated under a header line.
#pragma once

#include "store/storehost.h"

#include <QTextStream>

namespace qiantai::host {

// Returns the process exit status: 0 done, 1 refused (the text on `err`).
int RunQuery(StoreHost& host, const QString& sql, QTextStream& out, QTextStream& err);

} // namespace qiantai::host
