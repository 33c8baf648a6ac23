#include "screens/checkout/frmkhxf.h"

#include "hostcalls/hostservice.h"
#include "sale/salesession.h"
#include "screens/checkout/customeraccount.h"
#include "screens/checkout/frmfkje.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace qiantai {

TFrmKhxf::TFrmKhxf(QWidget* parent) : TCheckoutDialog(parent)
{
    setObjectName(QStringLiteral("frmKhxf"));
    setFixedSize(267, 130);
    auto* caption = PlaceLabel(this, QStringLiteral("客户消费 请输入客户编码"), 10, 8);
    caption->setFont(CheckoutFont(10, true));
    caption->adjustSize();
    PlaceLabel(this, QStringLiteral("客户编码:"), 10, 42);
    code_ = new QLineEdit(this);
    code_->setGeometry(80, 38, 175, 24);
    PlaceLabel(this, QStringLiteral("客户名称:"), 10, 72);
    name_ = new QLineEdit(this);
    name_->setGeometry(80, 68, 175, 24);
    name_->setReadOnly(true);
    PlaceLabel(this, QStringLiteral("【Enter】确定 【Esc】取消"), 10, 106);
    RouteKeys(code_);
    RouteKeys(name_);
    RunAmountEntry = [](TfrmFkje& entry) { return entry.exec() == QDialog::Accepted; };
}

void TFrmKhxf::showEvent(QShowEvent* event)
{
    code_->setFocus();
    TCheckoutDialog::showEvent(event);
}

void TFrmKhxf::Forget()
{
    CustomerCode.clear();
    CustomerName.clear();
    code_->clear();
    name_->clear();
    code_->setFocus();
}

void TFrmKhxf::LookUp()
{
    HostService host(Session().HostObject.get());
    const QString code = code_->text().trimmed();
    QString name;
    if (!LookupStoreCustomer(host, Session().Dqny, code, name)) {
        Forget();
        return;
    }
    CustomerCode = code;
    CustomerName = name;
    name_->setText(name);
    name_->setFocus();
}

void TFrmKhxf::TakeAmount()
{
    if (CustomerCode.isEmpty()) {
        Forget();
        return;
    }
    TfrmFkje entry(parentWidget());
    entry.Payment = Payment;
    entry.Remaining = Remaining;
    // At this screen's left edge, bottom on its bottom; this screen steps
    // out of sight meanwhile.
    const QRect here = frameGeometry();
    entry.adjustSize();
    entry.move(here.x(), here.y() + here.height() - entry.frameGeometry().height());
    const QPoint home = pos();
    move(-10000, -10000);
    const bool ok = RunAmountEntry(entry);
    move(home);
    if (!ok) {
        Finish(QDialog::Rejected);
        return;
    }
    EnteredAmount = entry.EnteredAmount;
    Finish(QDialog::Accepted);
}

bool TFrmKhxf::DialogKey(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        Finish(QDialog::Rejected);
        return true;
    }
    const bool inName = focusWidget() == name_;
    if (IsEnter(event)) {
        if (inName)
            TakeAmount();
        else
            LookUp();
        return true;
    }
    if (event->key() == Qt::Key_Up && inName) {
        Forget();
        return true;
    }
    return false;
}

} // namespace qiantai
