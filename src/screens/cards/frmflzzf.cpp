#include "screens/cards/frmflzzf.h"

#include "base/numbertext.h"
#include "controls/flatedit.h"
#include "controls/inputfilter.h"
#include "sale/salesession.h"
#include "screens/cards/cardpayrules.h"

#include <QKeyEvent>
#include <QLabel>

namespace qiantai {

namespace {

constexpr int Done = 1;
constexpr int Cancelled = 2;

const QString WaitingCaption = QStringLiteral("福利证支付 请输入券号");

bool IsDigitOrBackspace(const QKeyEvent* event)
{
    if (event->key() == Qt::Key_Backspace)
        return true;
    const QString text = event->text();
    return text.size() == 1 && text.at(0) >= QLatin1Char('0') && text.at(0) <= QLatin1Char('9');
}

} // namespace

TFrmFlzzf::TFrmFlzzf(QWidget* parent, CardScreenContext context) : TBlueFrame(parent), context_(context)
{
    setObjectName(QStringLiteral("frmFlzzf"));
    setHeading(WaitingCaption);
    setKeyHint(QStringLiteral("【Enter】确定 【Esc】取消"));
    setBodySize(QSize(267, 64));
    label1_ = new QLabel(QStringLiteral("券累计支付金额:"), body());
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setGeometry(10, 6, 240, 20);
    lblZk2_ = new QLabel(QStringLiteral("券号:"), body());
    lblZk2_->setGeometry(10, 36, 50, 20);
    edtQh_ = new TFlatEdit(body());
    edtQh_->setObjectName(QStringLiteral("edtQh"));
    edtQh_->setGeometry(60, 34, 190, 24);
    RestrictInput(edtQh_, IsDigitChar);
    routeKeys(edtQh_);
}

QString TFrmFlzzf::TotalText() const
{
    return label1_->text();
}

void TFrmFlzzf::showEvent(QShowEvent* event)
{
    TBlueFrame::showEvent(event);
    if (!busy_)
        edtQh_->setFocus();
}

bool TFrmFlzzf::frameKey(QKeyEvent* event)
{
    if (busy_)
        return true;
    if (IsEscKey(event)) {
        finish(Cancelled);
        return true;
    }
    if (IsEnterKey(event)) {
        Confirm();
        return true;
    }
    // The number field takes digits and Backspace only; keys without text
    // (arrows, Home, End) still move the cursor.
    if (focusWidget() == edtQh_ && !event->text().isEmpty() && !IsDigitOrBackspace(event))
        return true;
    return false;
}

void TFrmFlzzf::WaitForNext()
{
    setHeading(WaitingCaption);
    lblZk2_->show();
    edtQh_->show();
    edtQh_->clear();
    edtQh_->setFocus();
    busy_ = false;
}

void TFrmFlzzf::Confirm()
{
    SaleSession& s = *context_.session;
    const QString number = edtQh_->text().trimmed();
    if (number.isEmpty()) {
        context_.Show(QStringLiteral("请输入券号"));
        edtQh_->setFocus();
        return;
    }
    TFlzInfo certificate;
    if (!context_.cards->QueryWelfareCertificate(WelfareQueryRequest(number, s), certificate)) {
        edtQh_->clear();
        edtQh_->setFocus();
        return;
    }
    if (!CertificateUsable(certificate, Remaining)) {
        context_.Show(QStringLiteral("券面值大于剩余未支付金额，不能使用"));
        edtQh_->setFocus();
        return;
    }
    busy_ = true;
    edtQh_->hide();
    lblZk2_->hide();
    setHeading(QStringLiteral("正在支付,请稍候..."));
    repaint();
    Certificate = certificate;
    if (!context_.cards->PayWelfareCertificate(WelfarePaymentRequest(s, number), certificate.FaceValue)) {
        finish(Cancelled);
        return;
    }
    CertificateTotal += Certificate.FaceValue;
    Remaining -= Certificate.FaceValue;
    Certificate.StationNo = QString(); // the session has no station number
    QVariant record = WelfareConsumptionRequest(s, Certificate, context_.Now());
    if (context_.cards->RecordWelfareConsumption(*context_.host, record))
        Certificate.Serial = record.toString();
    BookCertificate(s, Payment, Certificate);
    label1_->setText(CertificateTotalText(CertificateTotal));
    if (WantsAnotherCertificate(Remaining))
        WaitForNext();
    else
        finish(Done);
}

} // namespace qiantai
