#include "screens/checkout/frmfkjs.h"

#include "base/numbertext.h"
#include "hostcalls/hostservice.h"
#include "sale/payments.h"
#include "sale/salesession.h"
#include "screens/checkout/cardpaymentcalls.h"
#include "screens/checkout/checkoutservices.h"
#include "screens/checkout/frmfkje.h"
#include "screens/checkout/frmkhxf.h"
#include "screens/checkout/frmselectzffs.h"
#include "screens/collection/unifiedcollection.h"

#include <QEventLoop>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

#include <exception>

namespace qiantai {

namespace {

constexpr int PanelWidth = 251;
constexpr int PanelHeight = 252;
constexpr int ValueRightMargin = 8;
constexpr int CaptionLeft = 4;
constexpr int LabelPointSize = 14;

} // namespace

TfrmFkjs::TfrmFkjs(QWidget* parent) : TCheckoutDialog(parent)
{
    setObjectName(QStringLiteral("frmFkjs"));
    setWindowTitle(QStringLiteral("付款结算"));
    setFixedSize(270, 303);
    auto* title = PlaceLabel(this, QStringLiteral("付款结算"), 0, 8);
    title->setFont(CheckoutFont(12, true));
    title->adjustSize();
    title->move((width() - title->width()) / 2, 8);

    pnlMain_ = new QFrame(this);
    pnlMain_->setFrameShape(QFrame::Box);
    pnlMain_->setGeometry((width() - PanelWidth) / 2, 40, PanelWidth, PanelHeight);

    messagePanel_ = new QWidget(this);
    messagePanel_->setGeometry(0, 0, width(), height());
    messagePanel_->setAutoFillBackground(true);
    submitting_ = PlaceLabel(messagePanel_, QStringLiteral("正在提交销售数据..."), 40, 110);
    printing_ = PlaceLabel(messagePanel_, QStringLiteral("正在打印..."), 40, 150);
    for (QLabel* l : {submitting_, printing_}) {
        l->setFont(CheckoutFont(LabelPointSize, true));
        l->adjustSize();
        l->hide();
    }
    messagePanel_->move(0, 0);
    messagePanel_->hide();

    Session().SuspendFlag = 0;
}

QLabel* TfrmFkjs::PanelLabel(const QString& name) const
{
    return pnlMain_->findChild<QLabel*>(name, Qt::FindDirectChildrenOnly);
}

void TfrmFkjs::BuildLabels()
{
    const QFont bold = CheckoutFont(LabelPointSize, true);
    const QFont regular = CheckoutFont(LabelPointSize);
    const auto add = [this](const QString& name, const QString& text, const QFont& font, int top) {
        auto* label = new QLabel(text, pnlMain_);
        label->setObjectName(name);
        label->setFont(font);
        label->adjustSize();
        label->move(CaptionLeft, top);
        label->show();
        return label;
    };
    const SaleSession& s = Session();
    QLabel* first = add(QStringLiteral("Yfje_Name"), QStringLiteral("实际应收款:"), bold, 4);
    const int h = first->height();
    add(QStringLiteral("Yfje_Value"), MoneyText(s.AmountDue), bold, 4);
    add(QStringLiteral("Fkje_Name"), QStringLiteral("客户已付款:"), bold, PanelHeight - 2 * h - 10);
    add(QStringLiteral("Fkje_Value"), MoneyText(s.AmountPaid), bold, PanelHeight - 2 * h - 10);
    add(QStringLiteral("Zlje_Name"), QStringLiteral("找零金额:"), bold, PanelHeight - h - 5);
    add(QStringLiteral("Zlje_Value"), MoneyText(s.AmountPaid - s.AmountDue), bold, PanelHeight - h - 5);
    int i = 0;
    for (const TPayment& m : s.PaymentMethods) {
        add(QStringLiteral("Name_") + m.Code, m.Name + QStringLiteral(":"), regular, 20 * i + 40);
        add(QStringLiteral("Value_") + m.Code, QStringLiteral(" "), regular, 20 * i + 40);
        ++i;
    }
    for (QLabel* label : pnlMain_->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        if (label->objectName().contains(QStringLiteral("Value")))
            RightAlign(label);
}

void TfrmFkjs::RightAlign(QLabel* value)
{
    value->adjustSize();
    value->move(pnlMain_->width() - value->width() - ValueRightMargin, value->y());
}

void TfrmFkjs::UpdateValue(const QString& name, double amount)
{
    const bool total =
        name == QLatin1String("Yfje") || name == QLatin1String("Fkje") || name == QLatin1String("Zlje");
    QLabel* label = PanelLabel(total ? name + QStringLiteral("_Value") : QStringLiteral("Value_") + name);
    if (!label)
        return;
    label->setText(MoneyText(amount));
    RightAlign(label);
}

void TfrmFkjs::RefreshTotals()
{
    const SaleSession& s = Session();
    UpdateValue(QStringLiteral("Yfje"), s.AmountDue);
    UpdateValue(QStringLiteral("Fkje"), s.AmountPaid);
    UpdateValue(QStringLiteral("Zlje"), s.AmountPaid - s.AmountDue);
}

void TfrmFkjs::showEvent(QShowEvent* event)
{
    if (pendingFirstShow_) {
        PaymentBook(Session()).ResetCheckout();
        pendingFirstShow_ = false;
        BuildLabels();
    }
    TCheckoutDialog::showEvent(event);
    if (!openingLoopDone_ && !openingLoopQueued_) {
        openingLoopQueued_ = true;
        QTimer::singleShot(0, this, [this] {
            if (!openingLoopDone_ && isVisible())
                RunOpeningLoop();
        });
    }
}

void TfrmFkjs::RunOpeningLoop()
{
    openingLoopDone_ = true;
    PaymentLoop();
}

int TfrmFkjs::exec()
{
    // The loop runs as the screen opens, before any key reaches the screen
    // itself: a cashier typing ahead types into the picker.
    setModal(true);
    show();
    if (!openingLoopDone_)
        RunOpeningLoop();
    return TCheckoutDialog::exec();
}

void TfrmFkjs::PaymentLoop()
{
    RunPaymentLoop(Session(), *this);
    activateWindow();
    setFocus();
}

int TfrmFkjs::PickMethod()
{
    TfrmSelectZffs picker(this);
    picker.BuildRows(Session().PaymentMethods);
    PlaceBeside(&picker, this);
    if (picker.exec() != QDialog::Accepted)
        return -1;
    return picker.Result() - 1;
}

bool TfrmFkjs::TakeAmount(const TPayment& m, double remaining, double& amount)
{
    TfrmFkje entry(this);
    entry.Payment = m;
    entry.Remaining = remaining;
    PlaceBeside(&entry, this);
    if (entry.exec() != QDialog::Accepted)
        return false;
    amount = entry.EnteredAmount;
    return true;
}

bool TfrmFkjs::TakeCustomerAccount(const TPayment& m, double remaining, QString& customerCode, double& amount)
{
    TFrmKhxf account(this);
    account.Payment = m;
    account.Remaining = remaining;
    PlaceBeside(&account, this);
    if (account.exec() != QDialog::Accepted)
        return false;
    customerCode = account.CustomerCode;
    amount = account.EnteredAmount;
    return true;
}

void TfrmFkjs::TakeWelfareCertificates(const TPayment& m, double remaining)
{
    OpenWelfarePayment(this, m, remaining);
}

bool TfrmFkjs::TakeMemberCard(const TPayment& m, double remaining, MemberCardPayment& payment)
{
    return OpenMemberCardPayment(this, m, remaining, payment);
}

bool TfrmFkjs::TakeBankCard(const TPayment& m, double remaining, double& amount)
{
    return OpenBankCardPayment(this, m, remaining, amount);
}

void TfrmFkjs::ShowPaymentTotals(const QString& code)
{
    UpdateValue(code, TotalByCode(Session(), code));
    RefreshTotals();
}

void TfrmFkjs::SetBusy(bool busy)
{
    busy_ = busy;
}

void TfrmFkjs::ShowSubmitting()
{
    pnlMain_->hide();
    messagePanel_->show();
    messagePanel_->raise();
    submitting_->show();
    printing_->hide();
    repaint();
}

void TfrmFkjs::ShowPrinting()
{
    printing_->show();
    repaint();
}

void TfrmFkjs::ShowMainPanel()
{
    messagePanel_->hide();
    submitting_->hide();
    printing_->hide();
    pnlMain_->show();
    repaint();
}

void TfrmFkjs::ShowMessage(const QVariant& message, const QString& caption)
{
    ShowCheckoutMessage(message, caption, this);
}

bool TfrmFkjs::PrintReceipt(const DataPacket& saleLines, QString& message)
{
    return PrintRecordedReceipt(saleLines, message);
}

bool TfrmFkjs::AskPrintAgain(const QString& message, const QString& caption)
{
    return AskCheckoutQuestion(message + QStringLiteral("\r\n按回车键重新打印，按Esc键放弃。"), caption,
                               this);
}

void TfrmFkjs::Pause(int ms)
{
    if (ms <= 0)
        return;
    QEventLoop wait;
    QTimer::singleShot(ms, &wait, &QEventLoop::quit);
    wait.exec(QEventLoop::ExcludeUserInputEvents);
}

bool TfrmFkjs::AskDocumentNumbers(const QString& prompt, QString& text)
{
    return InputDocumentNumbers(prompt, text, this);
}

void TfrmFkjs::Record()
{
    HostService host(Session().HostObject.get());
    if (RecordSale(Session(), host, *this, RecordPauseMs()))
        Finish(QDialog::Accepted);
    else
        recordFailed_ = true;
}

void TfrmFkjs::Leave()
{
    const QString refusal = PaymentBook(Session()).EscRefusal();
    if (!refusal.isEmpty()) {
        // Once recording has failed, card charges are not left in place
        // silently: they are shown and given back on the cashier's yes.
        if (!recordFailed_ || !ReverseCardChargesToLeave(this)) {
            ShowMessage(refusal, QString());
            return;
        }
    }
    Finish(QDialog::Rejected);
}

void TfrmFkjs::Suspend()
{
    PaymentBook book(Session());
    const QString refusal = book.SuspendRefusal();
    if (!refusal.isEmpty()) {
        ShowMessage(refusal, QString());
        return;
    }
    book.Suspend();
    UpdateValue(QStringLiteral("0001"), TotalByCode(Session(), QStringLiteral("0001")));
    RefreshTotals();
}

void TfrmFkjs::Collect(bool preSale)
{
    const QString refusal = PaymentBook(Session()).CollectRefusal();
    if (!refusal.isEmpty()) {
        ShowMessage(refusal, QString());
        return;
    }
    QString typed;
    if (!AskDocumentNumbers(
            preSale ? QStringLiteral("请输入统收预销售单号:") : QStringLiteral("请输入统收销售单号:"), typed))
        typed.clear();
    HostService host(Session().HostObject.get());
    QString error;
    const bool ok = CollectTypedDocuments(Session(), host, preSale, typed, error);
    RefreshTotals();
    if (!ok)
        ShowMessage(error, QString());
}

bool TfrmFkjs::DialogKey(QKeyEvent* event)
{
    if (busy_)
        return true;
    try {
        if (IsEnter(event)) {
            if (PaymentBook(Session()).MayRecord())
                Record();
            else
                PaymentLoop();
            return true;
        }
        switch (event->key()) {
        case Qt::Key_Escape:
            Leave();
            return true;
        case Qt::Key_F7:
            Suspend();
            return true;
        case Qt::Key_F8:
            Collect(false);
            return true;
        case Qt::Key_F9:
            Collect(true);
            return true;
        default:
            return false;
        }
    } catch (const std::exception& e) {
        ShowMessage(QString::fromUtf8(e.what()), QString());
        return true;
    }
}

} // namespace qiantai
