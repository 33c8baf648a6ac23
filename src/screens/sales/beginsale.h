// Beginning a sale document: sales method, sales information, the number
// from the host and, in member-card network mode, the member card. The
// screen supplies the dialogs through SaleDocumentScreen.
#pragma once

#include "screens/lookups/frminforules.h"

#include <QString>

namespace qiantai {

struct SaleSession;

enum class SalesInfoOutcome { PreviousStep, Confirmed, Exit };

class SaleDocumentScreen {
public:
    virtual ~SaleDocumentScreen() = default;
    // The grid holds the header and one empty line row, cursor on row 1,
    // column 0, with the focus; labels refreshed and repainted.
    virtual void ResetGrid() = 0;
    virtual void RefreshLabels() = 0;
    // The sales method picker, opening on `xsfs`; false when cancelled.
    virtual bool ChooseSalesMethod(int& xsfs) = 0;
    // The sales information dialog; the warehouse row only when asked.
    virtual SalesInfoOutcome EnterSalesInformation(bool withWarehouse) = 0;
    // Information box with the default caption; returns 1 (Enter) or 2 (Esc).
    virtual int ShowMessage(const QString& text, InfoKind kind) = 0;
    virtual void CloseScreen() = 0;
    // The member card identification; true when it ended confirmed.
    virtual bool IdentifyMemberCard() = 0;
    // Shows the identified member card; with none the line keeps its text.
    virtual void RefreshMemberLine() = 0;
    // Empties the member line: a new document has no card.
    virtual void ClearMemberLine() = 0;
};

QString ExitModuleQuestion();       // "确定要退出本模块吗？"
QString CentreNotConfiguredText();  // "配送中心未正确配置，请与系统管理员联系！"
QString DocumentNumberFailedText(); // "抢单据号失败"

// True when the document has its number; false when the cashier left the
// module (the screen has been closed).
bool BeginSaleDocument(SaleSession& s, SaleDocumentScreen& screen);

} // namespace qiantai
