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

    // The accounting year-month this host books in. It is read from the
    // store once and kept until `refreshAccountingMonth`, which each sales
    // session calls at its start (GetCurrentYearMonth): the month a session
    // verifies in is the month its sales are written to, even when another
    // till moves the store's month meanwhile. Refuses when it cannot be read.
    bool accountingMonth(QString* yyyymm, QString* error);
    bool refreshAccountingMonth(QString* yyyymm, QString* error);
    // The code of the distribution centre database (its tbHostInfo "pszxbm").
    QString centreCode() const;

    QString sessionMonth; // empty until first read
};

// The store's own accounting year-month (the latest month of any till).
bool StoreAccountingMonth(Database& store, QString* yyyymm, QString* error);
// The year-month after `yyyymm`.
QString NextMonth(const QString& yyyymm);

// Sets the accounting year-month and creates its monthly tables.
bool SetAccountingMonth(Database& store, const QString& yyyymm, QString* error);
// Moves the accounting month forward to the host clock's month when it lags
// (month-end closing of the reference host); never moves it back. The host
// then books in the new month.
bool AdvanceAccountingMonth(HostContext& ctx, QString* error);

} // namespace qiantai::host
