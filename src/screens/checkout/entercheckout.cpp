#include "screens/checkout/entercheckout.h"

#include "sale/salesession.h"
#include "screens/checkout/checkoutflow.h"
#include "screens/checkout/checkoutservices.h"
#include "screens/checkout/frmdjzf.h"
#include "screens/checkout/frmfkjs.h"

#include <QGuiApplication>
#include <QScreen>

namespace qiantai {

namespace {

class CheckoutDialogs : public CheckoutEntryScreens {
public:
    CheckoutDialogs(QWidget* owner, const std::function<void()>& showLastLine)
        : owner_(owner), showLastLine_(showLastLine)
    {
    }

    void ShowLastLine() override
    {
        if (showLastLine_)
            showLastLine_();
    }

    bool TakeDeposit(double docTotal, bool readOnly, double& deposit) override
    {
        TfrmDjzf dialog(docTotal, owner_);
        dialog.SetAmountReadOnly(readOnly);
        CentreOnScreen(&dialog);
        dialog.exec();
        if (dialog.Outcome() != 1)
            return false;
        deposit = dialog.DepositAmount;
        return true;
    }

    bool EditCustomerInfo(QString& khxx) override { return EditCustomerInfoText(khxx, owner_); }

    bool RunSettlement() override
    {
        TfrmFkjs settlement(owner_);
        PlaceSettlement(settlement);
        return settlement.exec() == QDialog::Accepted;
    }

private:
    // Vertically centred, its left edge at half the screen width minus three
    // fifths of its width.
    static void PlaceSettlement(QWidget& w)
    {
        QScreen* screen = w.screen() ? w.screen() : QGuiApplication::primaryScreen();
        if (!screen)
            return;
        const QRect area = screen->geometry();
        w.move(area.x() + area.width() / 2 - 3 * w.width() / 5, area.y() + (area.height() - w.height()) / 2);
    }

    QWidget* owner_;
    std::function<void()> showLastLine_;
};

} // namespace

bool EnterCheckout(QWidget* owner, const std::function<void()>& showLastLine)
{
    CheckoutDialogs dialogs(owner, showLastLine);
    return RunCheckoutEntry(Session(), dialogs);
}

} // namespace qiantai
