#include "screens/cards/frmxykzf.h"

#include "base/numbertext.h"
#include "controls/flatedit.h"
#include "controls/inputfilter.h"
#include "devices/cardterminal.h"
#include "hostcalls/hostservice.h"
#include "sale/payments.h"
#include "sale/salesession.h"
#include "screens/cards/cardcharges.h"
#include "screens/cards/cardpayrules.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>

namespace qiantai {

namespace {

constexpr int Approved = 1;
constexpr int Cancelled = 2;

const QString AmountCaption = QStringLiteral("信用卡支付 请输入金额");
const QString SwipeCaption = QStringLiteral("信用卡支付 请刷卡...");
const QString ConfirmCaption = QStringLiteral("信用卡支付 请输密码...");

} // namespace

TFrmXykzf::TFrmXykzf(QWidget* parent, CardScreenContext context) : TBlueFrame(parent), context_(context)
{
    setObjectName(QStringLiteral("frmXykzf"));
    setHeading(SwipeCaption);
    setKeyHint(QStringLiteral("【Esc】取消"));
    setBodySize(QSize(239, 48));
    lblZk2_ = new QLabel(QStringLiteral("金  额:"), body());
    lblZk2_->setObjectName(QStringLiteral("lblZk2"));
    lblZk2_->setGeometry(10, 14, 60, 20);
    edtJe_ = new TFlatEdit(body());
    edtJe_->setObjectName(QStringLiteral("edtJe"));
    edtJe_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    edtJe_->setGeometry(70, 12, 150, 24);
    RestrictInput(edtJe_, IsNumberChar);
    // Swipe and confirmation fields take keys but are never seen.
    edtKh_ = new TFlatEdit(body());
    edtKh_->setPasswordChar(QLatin1Char('*'));
    edtKh_->setGeometry(-1000, 12, 150, 24);
    edtMm_ = new TFlatEdit(body());
    edtMm_->setPasswordChar(QLatin1Char('*'));
    edtMm_->setGeometry(-1000, 12, 150, 24);
    for (QWidget* w :
         {static_cast<QWidget*>(edtJe_), static_cast<QWidget*>(edtKh_), static_cast<QWidget*>(edtMm_)})
        routeKeys(w);
}

void TFrmXykzf::showEvent(QShowEvent* event)
{
    TBlueFrame::showEvent(event);
    if (!firstActivation_)
        return;
    firstActivation_ = false;
    edtJe_->setText(AmountText(Remaining));
    edtJe_->selectAll();
    edtJe_->setFocus();
    setHeading(AmountCaption);
}

bool TFrmXykzf::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        if (watched == edtJe_)
            setHeading(AmountCaption);
        else if (watched == edtKh_)
            setHeading(SwipeCaption);
        else if (watched == edtMm_)
            setHeading(ConfirmCaption);
    }
    return TBlueFrame::eventFilter(watched, event);
}

bool TFrmXykzf::frameKey(QKeyEvent* event)
{
    if (busy_)
        return true;
    if (IsEscKey(event)) {
        finish(Cancelled);
        return true;
    }
    if (!IsEnterKey(event))
        return false;
    QWidget* focused = focusWidget();
    if (focused == edtJe_)
        AmountEntered();
    else if (focused == edtKh_) {
        if (!edtKh_->text().trimmed().isEmpty())
            edtMm_->setFocus();
    } else if (focused == edtMm_)
        Transact();
    return true;
}

void TFrmXykzf::AmountEntered()
{
    double amount = 0;
    QString error;
    if (!ReadTypedNumber(edtJe_->text(), amount, error)) {
        context_.Show(error);
        edtJe_->selectAll();
        edtJe_->setFocus();
        return;
    }
    // A terminal transaction of less than one fen charges nothing.
    const bool positive = AmountToFen(amount) > 0;
    if (!positive || !CheckPaymentCap(*context_.session, Payment.Kind, amount)) {
        context_.Show(positive ? BankCardCapRefusal(Payment) : QStringLiteral("支付金额必须大于零"));
        edtJe_->clear();
        edtJe_->setFocus();
        return;
    }
    amount_ = amount;
    edtJe_->hide();
    lblZk2_->hide();
    edtKh_->clear();
    edtKh_->setFocus();
}

void TFrmXykzf::Transact()
{
    if (edtKh_->text().trimmed().isEmpty()) {
        edtKh_->clear();
        edtKh_->setFocus();
    }
    busy_ = true;
    const QByteArray request = BankCardRequest(*context_.session, edtKh_->text(), amount_);
    const QString cardNo = SplitSwipe(edtKh_->text()).first;
    edtKh_->clear();
    edtMm_->clear();
    const CardTerminalResult answer = context_.terminal->transact(request);
    if (!answer.ok) {
        // No answer from the terminal: nothing was charged and nothing is recorded.
        context_.Show(answer.error);
        finish(Cancelled);
        return;
    }
    const CardResponse response = ParseCardResponse(answer.response);
    TXykDetail& record = context_.session->CardTransactions.Add();
    ApplyCardResponse(record, response, amount_);
    if (response.approved()) {
        context_.Show(QStringLiteral("交易成功"));
        CompleteRecord(record);
        LogBankCardCharge(cardNo, amount_, record.f_Poslsh, record.f_Djh);
        EnteredAmount = amount_;
        finish(Approved);
    } else {
        context_.Show(BankCardRefusalText(response));
        CompleteRecord(record);
        finish(Cancelled);
    }
}

void TFrmXykzf::CompleteRecord(TXykDetail& record)
{
    CompleteCardRecord(record, *context_.session, HostDateText(*context_.host), context_.Now());
    QVariant request = BankCardConsumptionRequest(record);
    if (context_.cards->RecordBankCardConsumption(*context_.host, request))
        record.f_Poslsh = request.toString();
}

} // namespace qiantai
