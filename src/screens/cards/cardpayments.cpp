#include "screens/cards/cardpayments.h"

#include "screens/cards/cardscreencontext.h"
#include "screens/cards/frmflzzf.h"
#include "screens/cards/frmxykzf.h"

namespace qiantai {

bool PayByBankCard(QWidget* owner, const TPayment& m, double remaining, double& amount)
{
    CardScreenEnvironment environment(owner);
    TFrmXykzf screen(owner, environment.context());
    screen.Payment = m;
    screen.Remaining = remaining;
    if (screen.exec() != 1)
        return false;
    amount = screen.EnteredAmount;
    return true;
}

bool PayByMemberCard(QWidget* owner, const TPayment& m, double remaining,
                     const MemberCardAmountEntry& amountEntry, TCardInfo& card, double& amount)
{
    CardScreenEnvironment environment(owner);
    TFrmHykzf screen(owner, environment.context(), amountEntry);
    screen.Payment = m;
    screen.Remaining = remaining;
    if (screen.exec() != 1)
        return false;
    card = screen.Card;
    amount = screen.EnteredAmount;
    return true;
}

void PayByWelfareCertificate(QWidget* owner, const TPayment& m, double remaining)
{
    CardScreenEnvironment environment(owner);
    TFrmFlzzf screen(owner, environment.context());
    screen.Payment = m;
    screen.Remaining = remaining;
    screen.exec();
}

} // namespace qiantai
