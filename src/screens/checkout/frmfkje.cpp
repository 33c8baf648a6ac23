#include "screens/checkout/frmfkje.h"

#include "base/numbertext.h"
#include "controls/inputfilter.h"
#include "sale/salesession.h"
#include "screens/checkout/checkoutservices.h"
#include "screens/checkout/frmfkjerules.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace qiantai {

TfrmFkje::TfrmFkje(QWidget* parent) : TCheckoutDialog(parent)
{
    setObjectName(QStringLiteral("frmFkje"));
    setFixedSize(225, 129);
    caption_ = PlaceLabel(this, QStringLiteral("输入付款金额"), 10, 8);
    caption_->setFont(CheckoutFont(10, true));
    PlaceLabel(this, QStringLiteral("金额:"), 10, 44);
    amount_ = new QLineEdit(this);
    amount_->setAlignment(Qt::AlignRight);
    amount_->setGeometry(56, 40, 155, 24);
    RestrictInput(amount_, IsNumberChar);
    RouteKeys(amount_);
    balance_ = PlaceLabel(this, QStringLiteral("会员卡余额:"), 10, 74);
    balance_->hide();
    PlaceLabel(this, QStringLiteral("【Enter】确定 【Esc】取消"), 10, 104);
}

QString TfrmFkje::Caption() const
{
    return caption_->text();
}

bool TfrmFkje::BalanceShown() const
{
    return !balance_->isHidden();
}

QString TfrmFkje::BalanceText() const
{
    return balance_->text();
}

void TfrmFkje::showEvent(QShowEvent* event)
{
    caption_->setText(AmountEntryCaption(Payment));
    caption_->adjustSize();
    if (Payment.Kind == paykind::MemberCard) {
        balance_->setText(QStringLiteral("会员卡余额:") + MoneyText(CardBalanceShown));
        balance_->adjustSize();
        balance_->show();
    }
    amount_->clear();
    amount_->setFocus();
    TCheckoutDialog::showEvent(event);
}

void TfrmFkje::Confirm()
{
    const AmountDecision d =
        DecidePaymentAmount(Session(), Payment, Remaining, CardBalanceShown, amount_->text());
    if (!d.accepted) {
        ShowCheckoutMessage(d.message, QString(), this);
        if (d.clearField)
            amount_->clear();
        amount_->setFocus();
        return;
    }
    EnteredAmount = d.amount;
    Finish(QDialog::Accepted);
}

bool TfrmFkje::DialogKey(QKeyEvent* event)
{
    if (IsEnter(event)) {
        Confirm();
        return true;
    }
    if (event->key() == Qt::Key_Escape) {
        Finish(QDialog::Rejected);
        return true;
    }
    if (event->key() == Qt::Key_Backspace)
        return false;
    // Only digits and "." are typed; other characters are dropped (the
    // field's validator keeps them out of every other input path).
    return DropsTypedText(event->text());
}

} // namespace qiantai
