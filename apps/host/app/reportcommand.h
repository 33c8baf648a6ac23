// "qiantai-host report": the cashiers' day report, optionally reconciled
// with the card server's journal, as text, CSV or PDF, to the terminal, a
// file or the station's receipt printer.
#pragma once

#include "base/result.h"
#include "store/storehost.h"

#include <QTextStream>

namespace qiantai::host {

struct ReportOptions {
    QString day;                             // YYYYMMDD
    QString cashier;                         // empty: every cashier
    QString format = QStringLiteral("text"); // "text", "csv" or "pdf"
    QString out;                             // empty: standard output (not for pdf)
    QString cards; // the card server, e.g. http://127.0.0.1:8529; empty: no reconciliation
    bool print = false;
    int width = 42; // receipt columns of the text and the print
};

// Refuses what the command line cannot mean; the text for the usage.
Result<> CheckReportOptions(const ReportOptions& options);

// Returns the exit status: 0 done, 1 refused or failed (the text on `err`;
// whatever could be written is written).
int RunDayReport(StoreHost& host, const ReportOptions& options, QTextStream& out, QTextStream& err);

} // namespace qiantai::host
