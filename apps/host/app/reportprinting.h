// The day report on paper: a PDF file, or the station's receipt printer.
#pragma once

#include <QString>

namespace qiantai::host {

// `text` (lines ending in "\n") in a monospaced font on A4 pages; needs a
// QGuiApplication.
bool WriteTextPdf(const QString& text, const QString& file, QString* error);

// `text` to the receipt printer of the station INI ([Printer]
// OmronPrinter), then paper feeds and a cut.
bool PrintOnReceiptPrinter(const QString& text, QString* error);

} // namespace qiantai::host
