// The amount entry "输入付款金额": cash, simple methods, and the amount of the
// customer account and member card screens.
#pragma once

#include "sale/saleitems.h"
#include "screens/checkout/checkoutdialog.h"

class QLabel;
class QLineEdit;

namespace qiantai {

class TfrmFkje : public TCheckoutDialog {
    Q_OBJECT
public:
    explicit TfrmFkje(QWidget* parent);

    // Set by the caller before showing.
    TPayment Payment;
    double Remaining = 0;
    double CardBalanceShown = 0; // member card screen only
    // The accepted amount after OK.
    double EnteredAmount = 0;

    QLineEdit* AmountField() const { return amount_; }
    QString Caption() const;
    bool BalanceShown() const;
    QString BalanceText() const;

protected:
    bool DialogKey(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Confirm();

    QLabel* caption_;
    QLabel* balance_;
    QLineEdit* amount_;
};

} // namespace qiantai
