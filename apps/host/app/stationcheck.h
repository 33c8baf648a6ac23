// qiantai-host check: what a till needs before it can sell, line by line,
// each wrong thing with its fix.
#pragma once

#include <QList>
#include <QString>
#include <QTextStream>

namespace qiantai::host {

struct CheckLine {
    enum class Level { Ok, Warning, Failure };
    Level level = Level::Ok;
    QString what; // what was looked at and what was found
    QString fix;  // how to put it right; empty for Ok
};

struct StationCheckOptions {
    QString store;  // the store database: a SQLite file or a postgresql:// URL
    QString centre; // the distribution centre's; empty: none given
    int timeoutMs = 3000;
};

// Looks at the station INI, the receipt printer, the template output, the
// store database and its parameters, the card front-end, the card-terminal
// library, the fonts and the clock setting. Needs a QGuiApplication.
QList<CheckLine> CheckStation(const StationCheckOptions& options);

// Writes the lines ("ok", "warn", "FAIL", the fix below) and a last line
// with the verdict; 0 when no line is a failure (the till can sell), else 1.
int PrintStationCheck(const QList<CheckLine>& lines, QTextStream& out);

} // namespace qiantai::host
