#include "screens/cards/frmhykzf.h"

#include "controls/flatedit.h"
#include "sale/salesession.h"
#include "screens/cards/cardpayrules.h"
#include "screens/cards/frmusehykrules.h"

#include <QKeyEvent>
#include <QLabel>

namespace qiantai {

namespace {

constexpr int Charged = 1;
constexpr int Cancelled = 2;

} // namespace

TFrmHykzf::TFrmHykzf(QWidget* parent, CardScreenContext context, MemberCardAmountEntry amountEntry)
    : TBlueFrame(parent), context_(context), amountEntry_(std::move(amountEntry))
{
    setObjectName(QStringLiteral("frmHykzf"));
    setWindowTitle(QStringLiteral("会员卡支付"));
    setHeading(QStringLiteral("会员卡支付 请刷卡..."));
    setKeyHint(QStringLiteral("【Enter】确定 【Esc】取消"));
    setBodySize(QSize(226, 64));
    lblZk2_ = new QLabel(QStringLiteral("帐  号："), body());
    lblZk2_->setGeometry(10, 8, 60, 20);
    edtKh_ = new TFlatEdit(body());
    edtKh_->setPasswordChar(QLatin1Char('*'));
    edtKh_->setGeometry(70, 6, 140, 24);
    label1_ = new QLabel(QStringLiteral("密  码："), body());
    label1_->setGeometry(10, 36, 60, 20);
    edtMm_ = new TFlatEdit(body());
    edtMm_->setPasswordChar(QLatin1Char('*'));
    edtMm_->setGeometry(70, 34, 140, 24);
    routeKeys(edtKh_);
    routeKeys(edtMm_);
}

void TFrmHykzf::showEvent(QShowEvent* event)
{
    TBlueFrame::showEvent(event);
    if (!busy_)
        edtKh_->setFocus();
}

bool TFrmHykzf::frameKey(QKeyEvent* event)
{
    if (busy_)
        return true;
    if (IsEscKey(event)) {
        finish(Cancelled);
        return true;
    }
    QWidget* focused = focusWidget();
    const bool enter = IsEnterKey(event);
    if (focused == edtKh_ && (enter || event->key() == Qt::Key_Down)) {
        edtMm_->setFocus();
        return true;
    }
    if (focused == edtMm_ && (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)) {
        edtKh_->setFocus();
        return true;
    }
    if (focused == edtMm_ && enter) {
        Confirm();
        return true;
    }
    return false;
}

void TFrmHykzf::StartOver(bool clearPassword)
{
    edtKh_->clear();
    if (clearPassword)
        edtMm_->clear();
    edtKh_->setFocus();
}

void TFrmHykzf::Confirm()
{
    SaleSession& s = *context_.session;
    const QString cardNo = TrimCardNumber(edtKh_->text(), s.Ckqzws, s.Ckhzws);
    if (edtKh_->text().trimmed().isEmpty()) {
        if (context_.show)
            context_.show(EmptySwipeText(), EmptySwipeCaption(), InfoKind::Statement);
        StartOver(false);
        return;
    }
    TCardInfo card;
    if (!context_.cards->QueryMemberCard(MemberCardQueryRequest(cardNo, edtMm_->text(), s.Dybm), card)) {
        StartOver(false);
        return;
    }
    if (!MemberBalanceUsable(card.Balance)) {
        context_.Show(QStringLiteral("会员卡余额有误,请联系系统管理员"), QStringLiteral("会员卡支付出错"));
        StartOver(true);
        return;
    }
    if (QueryOnly) {
        context_.Show(MemberQueryText(card), QStringLiteral("会员卡查询"));
        StartOver(true);
        return;
    }
    Card = card;
    double amount = 0;
    const QRect anchor = frameGeometry();
    move(-1000, y());
    const bool confirmed =
        amountEntry_ && amountEntry_(parentWidget(), anchor, Payment, Remaining, Card.Balance, amount);
    if (!confirmed) {
        finish(Cancelled);
        return;
    }
    busy_ = true;
    move(anchor.topLeft());
    for (QWidget* w : {static_cast<QWidget*>(lblZk2_), static_cast<QWidget*>(edtKh_),
                       static_cast<QWidget*>(label1_), static_cast<QWidget*>(edtMm_)})
        w->hide();
    setKeyHint(QString());
    setHeading(QStringLiteral("正在刷卡，请稍候..."));
    repaint();
    if (!context_.cards->PayMemberCard(MemberCardPaymentRequest(s, Card, amount))) {
        finish(Cancelled);
        return;
    }
    EnteredAmount = amount;
    finish(Charged);
}

} // namespace qiantai
