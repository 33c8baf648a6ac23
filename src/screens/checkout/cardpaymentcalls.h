// The card payment screens the payment loop opens for kinds 3, 4 and 5,
// with the checkout's amount entry for the member card.
#pragma once

#include "screens/checkout/paymentbook.h"

class QWidget;

namespace qiantai {

struct TPayment;

// Kind 3: the welfare certificate screen; it books one entry per
// certificate itself.
void OpenWelfarePayment(QWidget* settlement, const TPayment& m, double remaining);
// Kind 4: the member card screen; true with the card and the amount.
bool OpenMemberCardPayment(QWidget* settlement, const TPayment& m, double remaining,
                           MemberCardPayment& payment);
// Kind 5: the bank card screen; true with the approved amount (it adds its
// card transaction itself).
bool OpenBankCardPayment(QWidget* settlement, const TPayment& m, double remaining, double& amount);

// After a recording that failed: shows the member card and certificate
// charges of the document and, on the cashier's yes, gives them back. True
// when the checkout may then be left; false when there is nothing to give
// back, a bank card payment stands (the terminal's, not given back here),
// the cashier said no or a charge could not be given back (shown).
bool ReverseCardChargesToLeave(QWidget* settlement);

} // namespace qiantai
