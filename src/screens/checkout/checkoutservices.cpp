#include "screens/checkout/checkoutservices.h"

#include "base/inifile.h"
#include "sale/salesession.h"
#include "screens/checkout/receipt.h"
#include "screens/checkout/recordsale.h"
#include "screens/lookups/frmkhxx.h"
#include "screens/lookups/inputquery.h"
#include "screens/lookups/showhostmessage.h"

namespace qiantai {

void ShowCheckoutMessage(const QVariant& message, const QString& caption, QWidget* parent)
{
    ShowHostMessage(message, caption, QString(), InfoKind::Statement, parent);
}

bool AskCheckoutQuestion(const QString& question, const QString& caption, QWidget* parent)
{
    return ShowHostMessage(question, caption, QString(), InfoKind::Question, parent) == 1;
}

bool EditCustomerInfoText(QString& khxx, QWidget* parent)
{
    return EditCustomerInfo(khxx, parent);
}

bool InputDocumentNumbers(const QString& prompt, QString& text, QWidget* parent)
{
    return InputText(QStringLiteral("输入"), prompt, QString(), text, parent);
}

int RecordPauseMs()
{
    const int ms =
        StationIni::intValue(QStringLiteral("Checkout"), QStringLiteral("RecordPause"), DefaultRecordPauseMs);
    return ms < 0 ? 0 : ms;
}

bool PrintRecordedReceipt(const DataPacket& saleLines, QString& message)
{
    return PrintReceipt(Session(), saleLines, &message);
}

} // namespace qiantai
