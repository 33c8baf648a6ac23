// What every host operation works on: the two databases and the clock.
#pragma once

#include "database.h"
#include "hostclock.h"

#include <QString>

namespace qiantai::host {

struct HostContext {
    Database* store = nullptr;
    Database* centre = nullptr; // may be null: no distribution centre configured
    const HostClock* clock = nullptr;

    // The host's time for dates it writes and answers. (GetDate() in a
    // statement is the server's clock on PostgreSQL; the module sets the
    // till's clock from it at start-up.)
    QDateTime now() const;
    QString today() const;   // YYYYMMDD
    QString nowText() const; // YYYY-MM-DD HH:MM:SS
    QString stamp() const;   // YYYYMMDDHHMMSS

    // The store's current accounting year-month; refuses when it cannot be read.
    bool accountingMonth(QString* yyyymm, QString* error) const;
    // The code of the distribution centre database (its tbHostInfo "pszxbm").
    QString centreCode() const;
};

// Sets the accounting year-month and creates its monthly tables.
bool SetAccountingMonth(Database& store, const QString& yyyymm, QString* error);
// Moves the accounting month forward to the host clock's month when it lags
// (month-end closing of the reference host); never moves it back.
bool AdvanceAccountingMonth(HostContext& ctx, QString* error);

} // namespace qiantai::host
