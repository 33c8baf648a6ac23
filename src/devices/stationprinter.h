// The station's receipt printer as the station INI configures it:
// [Printer] maps a device name to "tcp://HOST:PORT" or "file:PATH" and
// Encoding names the text encoding of receipts.
#pragma once

#include "devices/posprinter.h"

#include <QString>

#include <memory>

namespace qiantai {

// The device name the sales screen opens.
extern const char* const ReceiptPrinterDevice; // "OmronPrinter"

// [Printer] `deviceName`; "tcp://127.0.0.1:9100" when it is not set.
QString StationPrinterUri(const QString& deviceName);

// [Printer] Encoding; "GBK" when it is not set.
QString StationPrinterEncoding();

// A closed ESC/POS printer whose device names resolve through the station
// INI (read at Open) and that encodes text as the station INI says.
std::shared_ptr<PosPrinter> CreateStationPrinter();

} // namespace qiantai
