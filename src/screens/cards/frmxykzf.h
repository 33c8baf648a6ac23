// The bank card screen: amount, swipe into a hidden field, Enter, one
// card-terminal transaction with its record in CardTransactions.
#pragma once

#include "controls/blueframe.h"
#include "sale/saleitems.h"
#include "screens/cards/cardscreencontext.h"

class QLabel;

namespace qiantai {

class TFlatEdit;

class TFrmXykzf : public TBlueFrame {
    Q_OBJECT
public:
    TFrmXykzf(QWidget* parent, CardScreenContext context);

    // Set by the caller before showing.
    TPayment Payment;
    double Remaining = 0;
    // The approved amount after result 1.
    double EnteredAmount = 0;
    bool Busy() const { return busy_; }

    QString Caption() const { return heading(); }
    TFlatEdit* AmountField() const { return edtJe_; }
    TFlatEdit* SwipeField() const { return edtKh_; }
    TFlatEdit* ConfirmField() const { return edtMm_; }

protected:
    bool frameKey(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void AmountEntered();
    void Transact();
    void CompleteRecord(TXykDetail& record);

    CardScreenContext context_;
    QLabel* lblZk2_;
    TFlatEdit* edtJe_;
    TFlatEdit* edtKh_;
    TFlatEdit* edtMm_;
    double amount_ = 0;
    bool busy_ = false;
    bool firstActivation_ = true;
};

} // namespace qiantai
