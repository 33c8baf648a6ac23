// SQL functions the host adds to each SQLite connection.
#pragma once

#include "hostclock.h"

#include <QSqlDatabase>
#include <QString>

namespace qiantai::host {

// qt_getdate(): the host clock as "YYYY-MM-DD HH:MM:SS" (what GetDate() is
// rewritten to).
bool RegisterSqliteFunctions(QSqlDatabase& db, const HostClock* clock, QString* error);

} // namespace qiantai::host
