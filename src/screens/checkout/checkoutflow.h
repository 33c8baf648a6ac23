// Entering checkout from the sales screen: document rounding, the deposit of
// a delivery sale, the customer information, then the settlement screen.
#pragma once

#include <QString>

namespace qiantai {

struct SaleSession;

// The dialogs of entering checkout. EnterCheckout implements them with the
// real dialogs; tests script them.
class CheckoutEntryScreens {
public:
    virtual ~CheckoutEntryScreens() = default;

    // The rounding difference was booked on the last line: show it again.
    virtual void ShowLastLine() = 0;
    // The deposit entry over the document total; false when cancelled.
    virtual bool TakeDeposit(double docTotal, bool readOnly, double& deposit) = 0;
    // The customer information box; false when cancelled.
    virtual bool EditCustomerInfo(QString& khxx) = 0;
    // The settlement screen; true when the sale was recorded.
    virtual bool RunSettlement() = 0;
};

// Runs the steps for a document with at least one line (without lines it
// does nothing and answers false). True when the sale was recorded and the
// next document may begin; false when the deposit or the settlement screen
// was cancelled, the document then staying as it is.
bool RunCheckoutEntry(SaleSession& s, CheckoutEntryScreens& screens);

} // namespace qiantai
