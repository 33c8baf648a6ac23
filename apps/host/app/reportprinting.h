// The day report on paper: a PDF file, or the station's receipt printer.
#pragma once

#include "base/result.h"

#include <QString>

namespace qiantai::host {

// `text` (lines ending in "\n") in a monospaced font on A4 pages; needs a
// QGuiApplication.
Result<> WriteTextPdf(const QString& text, const QString& file);

// `text` to the receipt printer of the station INI ([Printer]
// OmronPrinter), then paper feeds and a cut.
Result<> PrintOnReceiptPrinter(const QString& text);

} // namespace qiantai::host
