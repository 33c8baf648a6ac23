#include "screens/checkout/cardpaymentcalls.h"

#include "sale/cardinfo.h"
#include "sale/saleitems.h"
#include "sale/salesession.h"
#include "screens/cards/cardcharges.h"
#include "screens/cards/cardpayments.h"
#include "screens/cards/cardscreencontext.h"
#include "screens/checkout/frmfkje.h"
#include "screens/lookups/showhostmessage.h"

namespace qiantai {

namespace {

// The amount entry at the member card screen's left edge, bottom edges level.
bool MemberCardAmount(QWidget* owner, const QRect& anchor, const TPayment& m, double remaining,
                      double cardBalance, double& amount)
{
    TfrmFkje entry(owner);
    entry.Payment = m;
    entry.Remaining = remaining;
    entry.CardBalanceShown = cardBalance;
    entry.adjustSize();
    entry.move(anchor.left(), anchor.bottom() - entry.frameGeometry().height() + 1);
    if (entry.exec() != QDialog::Accepted)
        return false;
    amount = entry.EnteredAmount;
    return true;
}

} // namespace

void OpenWelfarePayment(QWidget* settlement, const TPayment& m, double remaining)
{
    PayByWelfareCertificate(settlement, m, remaining);
}

bool OpenMemberCardPayment(QWidget* settlement, const TPayment& m, double remaining,
                           MemberCardPayment& payment)
{
    TCardInfo card;
    double amount = 0;
    if (!PayByMemberCard(settlement, m, remaining, MemberCardAmount, card, amount))
        return false;
    payment.CardNo = card.CardNo;
    payment.MemberAccount = card.MemberAccount;
    payment.Balance = card.Balance;
    payment.Amount = amount;
    return true;
}

bool OpenBankCardPayment(QWidget* settlement, const TPayment& m, double remaining, double& amount)
{
    return PayByBankCard(settlement, m, remaining, amount);
}

bool ReverseCardChargesToLeave(QWidget* settlement)
{
    const SaleSession& s = Session();
    for (const TPayDetail& e : s.PaymentEntries)
        if (e.Kind == paykind::BankCard)
            return false;
    const QList<CardCharge> charges = MadeCardCharges().OfDocument(s.Djh);
    if (charges.isEmpty())
        return false;
    if (ShowHostMessage(ReversalQuestion(charges), QStringLiteral("提  示"), QString(), InfoKind::Question,
                        settlement) != 1)
        return false;
    CardScreenEnvironment environment(settlement);
    for (const CardCharge& c : charges)
        if (!environment.context().cards->ReverseCharge(c))
            return false;
    return true;
}

} // namespace qiantai
