#include "screens/checkout/checkoutflow.h"

#include "sale/salesession.h"
#include "screens/checkout/documentrounding.h"

namespace qiantai {

bool RunCheckoutEntry(SaleSession& s, CheckoutEntryScreens& screens)
{
    if (s.SaleLines.IsEmpty())
        return false;
    if (ApplyDocumentRounding(s) != 0)
        screens.ShowLastLine();

    if (s.Xsfs == 0) {
        s.AmountDue = s.DocTotalAmount;
    } else {
        double deposit = 0;
        if (!screens.TakeDeposit(s.DocTotalAmount, s.Fqedj == QLatin1String("0"), deposit))
            return false;
        s.DepositAmount = deposit;
        s.AmountDue = deposit;
    }

    QString khxx = s.Khxx;
    if (screens.EditCustomerInfo(khxx))
        s.Khxx = khxx;

    return screens.RunSettlement();
}

} // namespace qiantai
