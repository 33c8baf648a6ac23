#include "screens/sales/beginsale.h"

#include "hostcalls/hostservice.h"
#include "sale/salesession.h"

namespace qiantai {

QString ExitModuleQuestion()
{
    return QStringLiteral("确定要退出本模块吗？");
}

QString CentreNotConfiguredText()
{
    return QStringLiteral("配送中心未正确配置，请与系统管理员联系！");
}

QString DocumentNumberFailedText()
{
    return QStringLiteral("抢单据号失败");
}

namespace {

constexpr int Yes = 1;
constexpr int CentralDelivery = 3;

} // namespace

bool BeginSaleDocument(SaleSession& s, SaleDocumentScreen& screen)
{
    ResetDocumentState(s);
    screen.ResetGrid();
    // The card of the previous customer is gone; so is its line.
    screen.ClearMemberLine();

    for (;;) {
        int chosen = s.Xsfs;
        if (!screen.ChooseSalesMethod(chosen)) {
            if (screen.ShowMessage(ExitModuleQuestion(), InfoKind::Question) == Yes) {
                screen.CloseScreen();
                return false;
            }
            continue;
        }
        s.Xsfs = chosen;
        if (s.Xsfs == CentralDelivery && s.Pszxbm.isEmpty()) {
            screen.ShowMessage(CentreNotConfiguredText(), InfoKind::Statement);
            continue;
        }
        if (screen.EnterSalesInformation(s.Xsfs == CentralDelivery) != SalesInfoOutcome::Confirmed)
            continue;
        if (s.Dwlx != QLatin1String("11") && s.Dwlx != QLatin1String("10"))
            s.Gzbm = s.Dybm;

        HostService host(s.HostObject.get());
        QString number;
        const bool allocated = s.Xsfs == 0
                                   ? host.AllocateDocumentNumber(s.Syybm, s.Syymc, s.Gzbm, number)
                                   : host.AllocateDeliveryDocumentNumber(s.Syybm, s.Syymc, s.Gzbm, number);
        if (!allocated) {
            screen.ShowMessage(DocumentNumberFailedText(), InfoKind::Statement);
            screen.RefreshLabels();
            continue;
        }
        s.Djh = number;
        screen.RefreshLabels();
        break;
    }

    if (s.Hyklwms == QLatin1String("1") && !s.Yckqzj.isEmpty()) {
        if (!screen.IdentifyMemberCard())
            s.CurrentMemberCard = TCardInfo();
        screen.RefreshMemberLine();
    }
    return true;
}

} // namespace qiantai
