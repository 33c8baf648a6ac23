// Where a receipt printer's bytes go, as the station configures it:
// "tcp://HOST:PORT" (a raw ESC/POS network printer) or "file:PATH" (a
// printer device such as /dev/usb/lp0, or a plain file).
#pragma once

#include <QString>

namespace qiantai {

struct PrinterTarget {
    enum class Kind { Invalid, Tcp, File };
    Kind kind = Kind::Invalid;
    QString host;     // Tcp
    quint16 port = 0; // Tcp
    QString path;     // File
};

constexpr quint16 DefaultPrinterPort = 9100;

// Parses a printer URI. The scheme is matched without regard to case; a
// missing port is DefaultPrinterPort; "file:" also accepts "file://" before an
// absolute path. Anything else is Kind::Invalid.
PrinterTarget ParsePrinterTarget(const QString& uri);

} // namespace qiantai
