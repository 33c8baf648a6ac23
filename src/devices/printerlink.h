// The byte channel to a receipt printer: a TCP socket or a file/device.
// Writes are synchronous, complete and checked.
#pragma once

#include "devices/posprinter.h"
#include "devices/printertarget.h"

#include <QByteArray>

#include <memory>

namespace qiantai {

class PrinterLink {
public:
    virtual ~PrinterLink() = default;
    // Writes every byte and flushes; a UnifiedPOS result code.
    virtual long Write(const QByteArray& bytes) = 0;
    // Makes sure the channel is up for the next write (a connection the
    // printer dropped is made again); a UnifiedPOS result code.
    virtual long Prepare() { return opos::Success; }
    // Counts the connections made: a printer on a new connection may have
    // been switched off and on and must be set up again.
    virtual int Connections() const { return 1; }
    // Asks the printer's real-time status (DLE EOT 1, 2 and 4): a result
    // code as PrinterStatusCode gives it. A channel or a connection that
    // does not answer in time answers opos::Success and is not asked again.
    virtual long Status(long* extended)
    {
        *extended = 0;
        return opos::Success;
    }
};

struct PrinterLinkTimeouts {
    int connectMs = 3000;
    int writeMs = 5000;
    int statusMs = 1000;
};

// Opens the channel to `target`. On failure answers null and sets *result to
// opos::ENoService (invalid target), opos::ETimeout (no answer in time) or
// opos::ENoHardware (refused, missing device, unwritable file).
std::unique_ptr<PrinterLink> OpenPrinterLink(const PrinterTarget& target, const PrinterLinkTimeouts& timeouts,
                                             long* result);

} // namespace qiantai
