#include "screens/discount/discountentrypoint.h"

#include "hostcalls/hostservice.h"
#include "sale/salesession.h"
#include "screens/discount/frmgrant.h"
#include "screens/discount/frmsgzk.h"
#include "screens/discount/frmzksz.h"
#include "screens/lookups/showhostmessage.h"

#include <QVariant>

namespace qiantai {

namespace {

// The cashier's own rights first, then a supervisor at the till.
DiscountAuthority SessionAuthority(QWidget* owner)
{
    DiscountAuthority authority;
    authority.cashierHolds = [](const QString& right) {
        SaleSession& s = Session();
        HostService host(s.HostObject.get());
        return host.CheckPermission(s.Syybm, right);
    };
    authority.authorize = [owner](const QString& right) {
        return AuthorizeRight(owner, Session().HostObject.get(), right);
    };
    return authority;
}

} // namespace

bool OpenDiscountEntry(QWidget* owner, int currentRow)
{
    SaleSession& s = Session();
    QWidget* const parent = owner ? owner : s.OwnerWindow;

    DiscountMode mode = DiscountMode::LineRate;
    {
        TfrmSgzk picker(parent, currentRow, s.SaleLines);
        picker.centreOnScreen();
        if (picker.exec() != QDialog::Accepted)
            return false;
        mode = picker.mode();
    }
    TfrmZksz dialog(parent, mode, currentRow, s.SaleLines, SessionAuthority(parent), s.DocTotalQty, s.Xsfkz);
    dialog.centreOnScreen();
    return dialog.exec() == QDialog::Accepted;
}

void ShowDiscountMessage(const QString& message, QWidget* parent)
{
    ShowHostMessage(QVariant(message), QStringLiteral("错误提示"), QString(), InfoKind::Statement, parent);
}

} // namespace qiantai
