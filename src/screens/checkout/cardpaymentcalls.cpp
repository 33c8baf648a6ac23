#include "screens/checkout/cardpaymentcalls.h"

#include "sale/saleitems.h"
#include "screens/checkout/checkoutservices.h"

namespace qiantai {

namespace {

void NotAvailable(QWidget* settlement, const TPayment& m)
{
    ShowCheckoutMessage(m.Name + QStringLiteral("支付暂不可用!"), QString(), settlement);
}

} // namespace

void OpenWelfarePayment(QWidget* settlement, const TPayment& m, double)
{
    NotAvailable(settlement, m);
}

bool OpenMemberCardPayment(QWidget* settlement, const TPayment& m, double, MemberCardPayment&)
{
    NotAvailable(settlement, m);
    return false;
}

bool OpenBankCardPayment(QWidget* settlement, const TPayment& m, double, double&)
{
    NotAvailable(settlement, m);
    return false;
}

} // namespace qiantai
