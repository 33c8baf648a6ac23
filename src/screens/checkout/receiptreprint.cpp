#include "screens/checkout/receiptreprint.h"

#include "report/reportprinter.h"
#include "sale/paymenttable.h"
#include "sale/salesession.h"
#include "screens/cards/systools.h"
#include "screens/checkout/receipt.h"
#include "screens/lookups/showhostmessage.h"

namespace qiantai {

void ReprintLastReceipt(QWidget* owner)
{
    QString error;
    if (!ReprintLastReceipt(Session(), StationReportOutput(), &error))
        ShowHostMessage(error, QStringLiteral("重印小票"), QString(), InfoKind::Statement, owner);
}

void RegisterReceiptReprintTool()
{
    RegisterToolAction(QString::fromLatin1(ReprintReceiptTool),
                       [](QWidget* owner) { ReprintLastReceipt(owner); });
}

} // namespace qiantai
