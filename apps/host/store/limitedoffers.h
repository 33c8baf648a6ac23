// Limited offers (限时限量): an offer price for a limited quantity, reserved
// per document line in tbXsxlqK.
#pragma once

#include "hostcontext.h"

namespace qiantai::host {

struct OfferRequest {
    bool centre = false; // the document is delivered from the distribution centre
    QString department;
    QString document;
    int linePosition = 0; // zero-based
    QString product;
    double quantity = 0;
    double otherLines = 0;
    double unitPrice = 0;
    QString mode; // "0" entry, "1" quantity changed, "2" stock shortfall
};

struct OfferAnswer {
    double price = 0;
    double value = 0;
};

// Modes "0" and "1" reserve the line's quantity when the offer still has it
// (replacing the line's earlier reservation) and answer the offer price;
// mode "2" only checks that the offer covers the line and the other lines,
// reserving nothing. Refuses when no offer runs or too little is left.
bool QueryOffer(HostContext& ctx, const OfferRequest& request, OfferAnswer* answer, QString* message);

} // namespace qiantai::host
