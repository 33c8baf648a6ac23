// The one process-wide session record: host boundary, store context, the
// current document and its checkout values. Every screen reads and writes it
// directly through Session(); it is only touched from the UI thread.
#pragma once

#include "qiantai/coordisp.h"
#include "qiantai/datapacket.h"
#include "sale/cardinfo.h"
#include "sale/saleitems.h"

#include <QString>
#include <QStringList>

#include <memory>

class QWidget;

namespace qiantai {

class PosPrinter;

// The receipt of the last recorded document as it went to the printer, kept
// for a reprint.
struct ReceiptCopy {
    enum class Kind { None, Text, Template };
    Kind kind = Kind::None; // Text: the receipt printer; Template: the report output
    QString documentNo;
    QString body; // the text as printed
};

struct SaleSession {
    // Host boundary, set by GetFormOne.
    QWidget* HostAppHandle = nullptr; // owner of every library window
    QWidget* HostControl = nullptr;   // receives the close notification
    CoorDispRef HostObject;           // the host service object
    QString Syybm;                    // operator (cashier) code
    // Parent of dialogs the library opens; set while GetFormOne runs and
    // again by the sales screen's creation, none otherwise.
    QWidget* OwnerWindow = nullptr;

    // Store context, loaded by the sales screen's start-up.
    QString Syymc;                       // cashier name
    QString OperatorTag;                 // GetOperatorInfo's text for the operator
    QString Dwlx;                        // unit type; "02", "10", "11" may sell
    QString Dybm;                        // store department; empty for unit type "10"
    QString Bmmc;                        // screen title
    QString Pszxbm;                      // distribution centre; empty for unit type "10"
    QString Qyny;                        // start year-month YYYYMM
    QString Dqny;                        // current accounting year-month; names the monthly tables
    int Xsfkz = 0;                       // 1/3 line rounded/truncated to 0.1, 2/4 total, else 0.01
    QString Kckz;                        // "1" = no stock check
    QString Hyklwms;                     // "1" = ask for a member card at each document
    QString Yckqzj;                      // remote card front-end machine
    int Ckqzws = 0;                      // leading characters stripped from swiped card data
    int Ckhzws = 0;                      // trailing characters stripped from swiped card data
    double Jfje = 1.0;                   // sale amount per loyalty point
    QString Fqedj = QStringLiteral("1"); // "0" = deposit amount read-only
    QString Xyklx = QStringLiteral("0"); // bank-card type; not "0" = card terminal
    QString Xsxpdyfs;                    // "1" = OPOS receipt printer, else report templates
    DataPacket SaleTemplates;            // report templates "销货单"
    DataPacket ReturnTemplates;          // report templates "销货退单"
    std::shared_ptr<qiantai::PosPrinter> PosPrinter; // printer mode only

    // Collections.
    TSaleRecords SaleLines;
    TAllPayment PaymentMethods;
    TAllPayDetails PaymentEntries;
    TAllXyk CardTransactions;
    TAllSysTools SystemTools;

    // Document state.
    int Xsfs = 0; // 0 门店自提, 1 门店送货, 2 带货安装, 3 统一配送
    QString Djh;
    QString Yyybm, Yyymc; // salesperson
    QString Gzbm, Gzmc;   // counter group
    QString Ckbm, Ckmc;   // warehouse (sales method 3)
    QString Khxx;         // free customer information
    double DocTotalQty = 0;
    double DocTotalAmount = 0;
    double DepositAmount = 0;
    double AmountDue = 0;
    TCardInfo CurrentMemberCard;

    // Checkout values.
    double AmountPaid = 0;   // raised only by AddPaymentEntry
    double UnifiedTotal = 0; // cash of the documents taken into unified collection
    int SuspendFlag = 0;     // 1 = the rest was put on suspension
    QStringList CollectedSales;
    QStringList CollectedPreSales;
    double RebateAmount = 0;
    double PointsEarned = 0;

    // Kept from one document to the next; a new session starts without.
    ReceiptCopy LastReceipt;
};

// The process-wide session.
SaleSession& Session();

// Clears the document state when a sale document begins: document fields,
// totals, AmountPaid, UnifiedTotal, SuspendFlag, the member card, the sale
// lines, payment entries, card transactions and collected documents.
// Xsfs, RebateAmount, PointsEarned and the store context are kept.
void ResetDocumentState(SaleSession& s);

// Gives a new session its fresh state: store context at its defaults, every
// collection empty (the payment table and system tools are built again by
// the start-up) and no document. The host boundary is kept. Call it before
// the sales screen's start-up loads the store context.
void ResetSessionState(SaleSession& s);

} // namespace qiantai
