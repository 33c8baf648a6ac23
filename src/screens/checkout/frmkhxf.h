// The customer account screen "客户消费": books an amount on a store
// customer's account.
#pragma once

#include "sale/saleitems.h"
#include "screens/checkout/checkoutdialog.h"

#include <functional>

class QLineEdit;

namespace qiantai {

class TfrmFkje;

class TFrmKhxf : public TCheckoutDialog {
    Q_OBJECT
public:
    explicit TFrmKhxf(QWidget* parent);

    // Set by the caller before showing.
    TPayment Payment;
    double Remaining = 0;
    // After OK.
    QString CustomerCode;
    QString CustomerName;
    double EnteredAmount = 0;

    QLineEdit* CodeField() const { return code_; }
    QLineEdit* NameField() const { return name_; }

    // Runs the amount entry; replaceable so that tests can answer it.
    std::function<bool(TfrmFkje&)> RunAmountEntry;

protected:
    bool DialogKey(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void LookUp();
    void Forget();
    void TakeAmount();

    QLineEdit* code_;
    QLineEdit* name_;
};

} // namespace qiantai
