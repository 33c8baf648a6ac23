// The rules of the amount fields: payment amount entry and deposit entry.
#pragma once

#include <QString>

namespace qiantai {

struct SaleSession;
struct TPayment;

// Largest amount one entry may take.
constexpr double MaxSingleAmount = 10000000;

// True for typed text an amount field drops: a printable character other
// than a digit or ".". Keys without text (Backspace, arrows) pass.
bool DropsTypedText(const QString& text);

// How Enter in the amount entry ends.
struct AmountDecision {
    bool accepted = false;
    double amount = 0;
    QString message;         // shown when not accepted
    bool clearField = false; // the field is cleared and focused again
};

// Enter in the amount entry with the field's `text`: an empty field means
// the remaining amount (for a member card: at most the card balance shown);
// then CheckPaymentCap and the single-entry cap.
AmountDecision DecidePaymentAmount(const SaleSession& s, const TPayment& m, double remaining,
                                   double cardBalanceShown, const QString& text);

// "输入" + name + "付款金额".
QString AmountEntryCaption(const TPayment& m);

// Enter in the deposit entry: a blank field means the document total; more
// than the document total (beyond the money tolerance) is refused.
AmountDecision DecideDeposit(double docTotal, const QString& text);

} // namespace qiantai
