#include "sale/salesession.h"

#include <utility>

namespace qiantai {

SaleSession& Session()
{
    static SaleSession session;
    return session;
}

void ResetDocumentState(SaleSession& s)
{
    s.Djh.clear();
    s.Gzbm.clear();
    s.Gzmc.clear();
    s.Ckbm.clear();
    s.Ckmc.clear();
    s.Yyybm.clear();
    s.Yyymc.clear();
    s.Khxx.clear();
    s.DocTotalQty = 0;
    s.DocTotalAmount = 0;
    s.DepositAmount = 0;
    s.AmountDue = 0;
    s.AmountPaid = 0;
    s.UnifiedTotal = 0;
    s.SuspendFlag = 0;
    s.CurrentMemberCard = TCardInfo();
    s.PaymentEntries.Clear();
    s.SaleLines.Clear();
    s.CardTransactions.Clear();
    s.CollectedSales.clear();
    s.CollectedPreSales.clear();
}

void ResetSessionState(SaleSession& s)
{
    QWidget* const app = s.HostAppHandle;
    QWidget* const control = s.HostControl;
    CoorDispRef host = s.HostObject;
    QString syybm = std::move(s.Syybm);

    s = SaleSession();

    s.HostAppHandle = app;
    s.HostControl = control;
    s.HostObject = host;
    s.Syybm = std::move(syybm);
}

} // namespace qiantai
