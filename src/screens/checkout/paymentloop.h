// The settlement screen's payment loop: the picker and the payment screens
// shown one after another until the amount due is covered.
#pragma once

#include "screens/checkout/paymentbook.h"

#include <QString>

namespace qiantai {

struct SaleSession;
struct TPayment;

// The screens the loop opens. The settlement screen implements them with its
// dialogs, each placed beside it; tests script them.
class PaymentScreens {
public:
    virtual ~PaymentScreens() = default;

    // The picker: the index of the chosen method in PaymentMethods, or -1
    // when it was cancelled.
    virtual int PickMethod() = 0;
    // Kinds 0 and 1: the amount entry.
    virtual bool TakeAmount(const TPayment& m, double remaining, double& amount) = 0;
    // Kind 2: the customer account screen.
    virtual bool TakeCustomerAccount(const TPayment& m, double remaining, QString& customerCode,
                                     double& amount) = 0;
    // Kind 3: the welfare certificate screen; it books one entry per
    // certificate itself, whatever its result.
    virtual void TakeWelfareCertificates(const TPayment& m, double remaining) = 0;
    // Kind 4: the member card screen.
    virtual bool TakeMemberCard(const TPayment& m, double remaining, MemberCardPayment& payment) = 0;
    // Kind 5: the bank card screen; it adds its card transaction itself and
    // answers the approved amount.
    virtual bool TakeBankCard(const TPayment& m, double remaining, double& amount) = 0;

    // A payment of method `code` was booked: show its total and the totals.
    virtual void ShowPaymentTotals(const QString& code) = 0;
};

// Runs the loop until the picker is cancelled or the amount due is covered.
void RunPaymentLoop(SaleSession& s, PaymentScreens& screens);

} // namespace qiantai
