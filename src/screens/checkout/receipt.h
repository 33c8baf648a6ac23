// Printing the receipt of a document that has just been recorded.
#pragma once

#include "qiantai/datapacket.h"

#include <QString>

namespace qiantai {

struct SaleSession;
class Report;

// The template category of sale receipts (also the template's name).
extern const char* const SaleReceiptCategory; // "销货单"

// How many times the paper is fed after the text receipt.
constexpr int ReceiptClosingFeeds = 4;

// Prints the receipt once, without preview or dialog. With Xsxpdyfs "1" the
// text receipt goes to s.PosPrinter (the text and a line feed, four more line
// feeds, then a full cut); otherwise the "销货单" template of SaleTemplates is
// filled with the receipt variables and `saleLines` and printed to
// `reportOutput` ("printer" for the default printer, or a PDF file path) on
// the station's receipt roll.
//
// The receipt is kept in s.LastReceipt once it is built, printed or not, so
// that the cashier can reprint it when the printer is ready again; one that
// cannot be built leaves none.
//
// Answers false with *error when the receipt did not print (no template,
// template that does not load, printer refusal or error); *error is then the
// whole text to show the cashier, caption "出错提示". Nothing is ever recorded
// here, so a failure must not lead to recording the sale again.
bool PrintReceipt(SaleSession& s, const DataPacket& saleLines, const QString& reportOutput, QString* error);

// PrintReceipt to the station's [Report] Output.
bool PrintReceipt(SaleSession& s, const DataPacket& saleLines, QString* error);

// Prints s.LastReceipt again the way it printed, under the mark of
// ReprintMarked; records nothing. False with *error when there is none in
// this session or it did not print.
bool ReprintLastReceipt(SaleSession& s, const QString& reportOutput, QString* error);

// The "销货单" template of SaleTemplates loaded into `report` and filled with
// the receipt variables and `saleLines`; false with *error otherwise. Runs the
// related-document query through the host for installation sales.
bool PrepareReceiptReport(SaleSession& s, const DataPacket& saleLines, Report& report, QString* error);

} // namespace qiantai
