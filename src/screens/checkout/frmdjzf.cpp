#include "screens/checkout/frmdjzf.h"

#include "base/numbertext.h"
#include "controls/inputfilter.h"
#include "screens/checkout/checkoutservices.h"
#include "screens/checkout/frmfkjerules.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace qiantai {

TfrmDjzf::TfrmDjzf(double docTotal, QWidget* parent) : TCheckoutDialog(parent), docTotal_(docTotal)
{
    setObjectName(QStringLiteral("frmDjzf"));
    setFixedSize(270, 183);
    auto* title = PlaceLabel(this, QStringLiteral("预交定金"), 10, 8);
    title->setFont(CheckoutFont(12, true));
    title->adjustSize();
    const QString total = MoneyText(docTotal);
    PlaceLabel(this, QStringLiteral("实际销售金额："), 10, 56);
    total_ = PlaceLabel(this, total, 130, 56);
    PlaceLabel(this, QStringLiteral("客户预交定金："), 10, 100);
    amount_ = new QLineEdit(total, this);
    amount_->setAlignment(Qt::AlignRight);
    amount_->setGeometry(130, 96, 126, 24);
    amount_->selectAll();
    RestrictInput(amount_, IsNumberChar);
    RouteKeys(amount_);
    PlaceLabel(this, QStringLiteral("【Enter】确定 【Esc】取消"), 10, 156);
    amount_->setFocus();
}

void TfrmDjzf::SetAmountReadOnly(bool readOnly)
{
    amount_->setReadOnly(readOnly);
}

QString TfrmDjzf::TotalText() const
{
    return total_->text();
}

void TfrmDjzf::Confirm()
{
    const AmountDecision d = DecideDeposit(docTotal_, amount_->text());
    if (!d.accepted) {
        ShowCheckoutMessage(d.message, QString(), this);
        amount_->setFocus();
        amount_->selectAll();
        return;
    }
    DepositAmount = d.amount;
    outcome_ = 1;
    Finish(QDialog::Accepted);
}

bool TfrmDjzf::DialogKey(QKeyEvent* event)
{
    if (IsEnter(event)) {
        Confirm();
        return true;
    }
    if (event->key() == Qt::Key_Escape) {
        outcome_ = 2;
        Finish(QDialog::Rejected);
        return true;
    }
    if (event->key() == Qt::Key_Backspace)
        return false;
    return DropsTypedText(event->text());
}

} // namespace qiantai
