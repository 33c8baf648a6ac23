// Bookkeeping of the settlement screen: what each payment screen's answer adds
// to the checkout, when the amount due is covered, and the rules of the
// screen's own keys. No widget is involved.
#pragma once

#include <QString>

namespace qiantai {

struct SaleSession;
struct TPayment;

// What a member card payment screen answers on OK.
struct MemberCardPayment {
    QString CardNo;
    QString MemberAccount;
    double Balance = 0; // the card balance the screen showed
    double Amount = 0;
};

class PaymentBook {
public:
    explicit PaymentBook(SaleSession& s) : s_(s) {}

    // The first show of a settlement screen: payments, card transactions and
    // collected documents cleared, AmountPaid and UnifiedTotal 0.
    void ResetCheckout();

    // AmountDue - AmountPaid.
    double Remaining() const;
    // The payment loop ends once AmountPaid - AmountDue > -0.005.
    bool Covered() const;
    // Enter records once AmountDue - AmountPaid is at most 0.005.
    bool MayRecord() const;

    void BookAmountEntry(const TPayment& m, double amount);
    void BookMemberCard(const TPayment& m, const MemberCardPayment& p);
    void BookCustomerAccount(const TPayment& m, const QString& customerCode, double amount);
    void BookBankCard(const TPayment& m, double amount);

    // Why Esc may not leave: the message for the first card, member card or
    // welfare entry; empty when Esc may close.
    QString EscRefusal() const;

    // Why F7 may not suspend; empty when it may.
    QString SuspendRefusal() const;
    // Why F8/F9 may not collect other documents: once suspended (the host
    // refuses a suspended document that collects others); empty when they may.
    QString CollectRefusal() const;

    // Books the rest as a "0001" cash entry and sets SuspendFlag; once
    // suspended, books nothing more. Call only when SuspendRefusal() is empty.
    void Suspend();

private:
    SaleSession& s_;
};

} // namespace qiantai
