// The member card screen: swipe and password, the card query, the amount
// (the checkout's amount entry, with the card balance shown) and the charge
// at the card front-end. In query mode it shows card after card's balance.
#pragma once

#include "controls/blueframe.h"
#include "sale/cardinfo.h"
#include "sale/saleitems.h"
#include "screens/cards/cardscreencontext.h"

#include <QRect>

#include <functional>

class QLabel;

namespace qiantai {

class TFlatEdit;

// Shows the amount entry for a member card payment, placed with its left edge
// and bottom edge on `anchor` (global coordinates); true with the accepted
// amount when confirmed.
using MemberCardAmountEntry = std::function<bool(QWidget* owner, const QRect& anchor, const TPayment& m,
                                                 double remaining, double cardBalance, double& amount)>;

class TFrmHykzf : public TBlueFrame {
    Q_OBJECT
public:
    TFrmHykzf(QWidget* parent, CardScreenContext context, MemberCardAmountEntry amountEntry = {});

    bool QueryOnly = false;
    // Set by the caller before showing (payment mode).
    TPayment Payment;
    double Remaining = 0;
    // After result 1: the card charged and the amount.
    TCardInfo Card;
    double EnteredAmount = 0;
    bool Busy() const { return busy_; }

    QString Caption() const { return heading(); }
    TFlatEdit* SwipeField() const { return edtKh_; }
    TFlatEdit* PasswordField() const { return edtMm_; }

protected:
    bool frameKey(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Confirm();
    void StartOver(bool clearPassword);

    CardScreenContext context_;
    MemberCardAmountEntry amountEntry_;
    QLabel* lblZk2_;
    QLabel* label1_;
    TFlatEdit* edtKh_;
    TFlatEdit* edtMm_;
    bool busy_ = false;
};

} // namespace qiantai
