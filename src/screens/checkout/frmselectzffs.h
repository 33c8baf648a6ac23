// The payment-method picker "客户付款方式": one numbered row per method.
#pragma once

#include "sale/saleitems.h"
#include "screens/checkout/checkoutdialog.h"

#include <QList>

class QLabel;
class QTableWidget;

namespace qiantai {

class TfrmSelectZffs : public TCheckoutDialog {
    Q_OBJECT
public:
    explicit TfrmSelectZffs(QWidget* parent);

    // One row per method in table order; the dialog is fitted to the rows
    // and the first row is current.
    void BuildRows(const TAllPayment& methods);

    int RowCount() const;
    int CurrentRow() const; // 0-based
    QString RowText(int row) const;
    QString SelectionText() const;
    // After OK: the chosen method's index in PaymentMethods plus 1.
    int Result() const { return result_; }

protected:
    bool DialogKey(QKeyEvent* event) override;

private:
    void SetCurrentRow(int row);

    QTableWidget* grid_;
    QLabel* selection_;
    QLabel* hint_;
    QList<int> methodIndex_;
    int result_ = 0;
};

} // namespace qiantai
