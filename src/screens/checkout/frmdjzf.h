// The deposit entry "预交定金" of a delivery sale.
#pragma once

#include "screens/checkout/checkoutdialog.h"

class QLabel;
class QLineEdit;

namespace qiantai {

class TfrmDjzf : public TCheckoutDialog {
    Q_OBJECT
public:
    // `docTotal` is shown and is the default deposit.
    TfrmDjzf(double docTotal, QWidget* parent);

    void SetAmountReadOnly(bool readOnly);
    QLineEdit* AmountField() const { return amount_; }
    QString TotalText() const;

    // 1 accepted, 2 cancelled, 0 while open.
    int Outcome() const { return outcome_; }
    double DepositAmount = 0;

protected:
    bool DialogKey(QKeyEvent* event) override;

private:
    void Confirm();

    double docTotal_;
    QLabel* total_;
    QLineEdit* amount_;
    int outcome_ = 0;
};

} // namespace qiantai
