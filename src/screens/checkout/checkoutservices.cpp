#include "screens/checkout/checkoutservices.h"

#include "screens/checkout/recordsale.h"

#include <QInputDialog>
#include <QMessageBox>
#include <QStringList>

namespace qiantai {

void ShowCheckoutMessage(const QVariant& message, const QString& caption, QWidget* parent)
{
    const QString text =
        message.typeId() == QMetaType::QVariantList || message.typeId() == QMetaType::QStringList
            ? message.toStringList().join(QStringLiteral("\r\n"))
            : message.toString();
    QMessageBox box(QMessageBox::Information, caption.isEmpty() ? QStringLiteral("信息窗口") : caption, text,
                    QMessageBox::Ok, parent);
    box.exec();
}

bool EditCustomerInfoText(QString& khxx, QWidget* parent)
{
    bool ok = false;
    const QString text = QInputDialog::getMultiLineText(parent, QStringLiteral("客户信息"),
                                                        QStringLiteral("客户信息"), khxx, &ok);
    if (ok)
        khxx = text;
    return ok;
}

bool InputDocumentNumbers(const QString& prompt, QString& text, QWidget* parent)
{
    bool ok = false;
    const QString typed =
        QInputDialog::getText(parent, QStringLiteral("输入"), prompt, QLineEdit::Normal, QString(), &ok);
    if (ok)
        text = typed;
    return ok;
}

int RecordPauseMs()
{
    return DefaultRecordPauseMs;
}

bool PrintRecordedReceipt(const DataPacket&, QString& message)
{
    message = QStringLiteral("小票打印未配置");
    return false;
}

} // namespace qiantai
