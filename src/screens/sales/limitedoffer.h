// Limited (time and quantity) offers on sale lines. The host decides an offer
// and reserves its quantity per document line in tbXsxlqK; the module asks
// for offers and deletes reservations of deleted lines.
#pragma once

#include "hostcalls/hostservice.h"
#include "sale/salesession.h"

#include <QString>

namespace qiantai {

// Mode of an offer request.
namespace offermode {
inline const QString Entry = QStringLiteral("0");          // a product was entered
inline const QString QuantityChange = QStringLiteral("1"); // a line's quantity changed
inline const QString Shortfall = QStringLiteral("2");      // the stock check refused
} // namespace offermode

// Sum of Quantity over the lines other than line `lineNo` (counted from 1)
// with the same ProductCode; 0 when there is no such line.
double OtherLinesQuantity(const TSaleRecords& lines, int lineNo);

struct OfferAnswer {
    int unused = 0; // the host's first out value; nothing reads it
    double offerPrice = 0;
    double offerValue = 0;
};

// Asks the host whether an offer applies to line `lineNo` at `quantity`.
// In mode "2" the other lines whose shortfall was accepted are not counted.
// Returns the host's answer; false without a call when there is no such line.
bool CheckLimitedOffer(HostService& host, const SaleSession& session, int lineNo, double quantity,
                       const QString& mode, OfferAnswer& answer);

// The statement that deletes the reservations of line `lineNo` of the
// document, or of the whole document when lineNo is -1.
QString OfferReleaseStatement(const QString& dqny, const QString& djh, int lineNo);

// The statement that moves the reservation of line `lineNo` to the position
// of the line above it.
QString OfferMoveUpStatement(const QString& dqny, const QString& djh, int lineNo);

// Deletes the reservations of line `lineNo` (-1: the whole document): at the
// distribution centre for sales method 3, else in the store. Returns the
// host's answer and shows nothing.
bool ReleaseOfferReservation(HostService& host, const SaleSession& session, int lineNo);
// The same on the process session and its host.
bool ReleaseOfferReservation(int lineNo);

// After line `lineNo` was deleted from SaleLines: deletes its reservation and
// moves the reservations of the lines that moved up into its place with
// them, one position each, from the top down, so that every reservation stays
// with its line. Stops at the first statement the host refuses and returns
// false; shows nothing.
bool ReleaseDeletedLineOffer(HostService& host, const SaleSession& session, int lineNo);
bool ReleaseDeletedLineOffer(int lineNo);

} // namespace qiantai
