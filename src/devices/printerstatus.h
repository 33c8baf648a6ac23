// Whether the station's receipt printer is there and ready, asked the way a
// station check asks it: a network printer answers ESC/POS real-time status
// requests (DLE EOT 1 printer status, DLE EOT 4 paper sensor); a file or a
// device can only be opened for writing.
#pragma once

#include "devices/printertarget.h"

#include <QString>

namespace qiantai {

struct PrinterStatus {
    bool reachable = false; // connected, or the file opened for writing
    bool answered = false;  // a network printer sent both status bytes
    bool ready = false;     // reachable and, when it answered, online with paper
    QString text;           // what was found, in one line
};

// Writes no receipt bytes; a plain file that does not exist is not created.
PrinterStatus AskPrinterStatus(const PrinterTarget& target, int timeoutMs);

// The printer status byte (DLE EOT 1) and the paper sensor byte (DLE EOT 4):
// empty when ready, else what stops printing.
QString DescribePrinterStatusBytes(unsigned char printer, unsigned char paper);

// The same bytes with the offline cause (DLE EOT 2) as a UnifiedPOS result
// code: opos::Success when ready; EExtended with *extended set to
// EptrCoverOpen or EptrRecEmpty; EOffline for any other stop.
long PrinterStatusCode(unsigned char printer, unsigned char offline, unsigned char paper, long* extended);

} // namespace qiantai
