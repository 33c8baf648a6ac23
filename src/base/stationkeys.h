// The settings a station INI may hold, and the lines of a station INI text
// that are not one of them.
#pragma once

#include <QList>
#include <QString>

namespace qiantai {

struct IniProblem {
    int line = 0; // 1-based
    QString what; // what is wrong
    QString fix;  // how to put it right
};

// Lines that do not parse (neither "[section]", "key=value", a comment nor
// blank), keys outside any section, unknown sections and unknown keys of the
// known sections. Every key of [Printer] except Encoding names a printer
// device, so any key is known there.
QList<IniProblem> CheckStationIniText(const QString& text);

} // namespace qiantai
