// Entry points of the card payment screens for the settlement screen's
// payment loop (kinds 5, 4 and 3). Each opens its screen modally, owned by
// `owner`, with the station's terminal, front-end and host.
#pragma once

#include "sale/cardinfo.h"
#include "screens/cards/frmhykzf.h"

class QWidget;

namespace qiantai {

struct TPayment;

// Kind 5: true with the approved amount; the screen has added its card
// transaction (approved or refused) to CardTransactions. The caller books a
// payment entry with Source 4 on true.
bool PayByBankCard(QWidget* owner, const TPayment& m, double remaining, double& amount);

// Kind 4: true when the card was charged, with the card and the amount. The
// caller books the entry (CardNo, MemberAccount, Source 1, Amount, and
// CardBalance = Balance - amount). `amountEntry` shows the checkout's amount
// screen.
bool PayByMemberCard(QWidget* owner, const TPayment& m, double remaining,
                     const MemberCardAmountEntry& amountEntry, TCardInfo& card, double& amount);

// Kind 3: books one payment entry per certificate paid itself; nothing for
// the caller to book.
void PayByWelfareCertificate(QWidget* owner, const TPayment& m, double remaining);

} // namespace qiantai
