// Printing a report without preview or dialog.
#pragma once

#include <QString>

namespace qiantai {

class Report;

// The output that names the default printer (the station's [Report] Output
// is "printer" or a PDF file path).
extern const char* const DefaultPrinterOutput; // "printer"

// [Report] Output of the station INI; DefaultPrinterOutput when it is not set.
QString StationReportOutput();

// Prints `report` once: to the default printer when `output` is empty or
// "printer" (any case), otherwise to the PDF file `output`, replacing it.
// False with *error when there is no default printer, the printer reports an
// error or the PDF file cannot be written.
bool PrintReport(const Report& report, const QString& output, const QString& documentName, QString* error);

} // namespace qiantai
