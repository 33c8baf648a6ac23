// Product entry on the line grid and the rules for leaving its quantity,
// price and amount cells. Works on the session's sale lines through the host
// service object; the grid only turns keys into these calls and shows the
// result. Rows are grid rows: row n holds line n (item n - 1).
#pragma once

#include "hostcalls/hostservice.h"
#include "qiantai/datapacket.h"
#include "sale/salesession.h"
#include "screens/lookups/frminforules.h"

#include <QString>
#include <QVariant>

namespace qiantai {

// The dialogs product entry needs; the sales screen gives the information
// box and the product pick list, tests give a fake.
class EntryPrompts {
public:
    virtual ~EntryPrompts() = default;
    // Information box: `message` is a text or an array of texts; the stock
    // refusal is a notice. Returns 1 for Enter, 2 for Esc.
    virtual int ShowMessage(const QVariant& message, const QString& caption, InfoKind kind) = 0;
    // Product pick list over the rows a code matched. True with the chosen
    // row's index, false when the cashier cancelled.
    virtual bool PickProduct(const DataPacket& products, int& chosenRow) = 0;
};

enum class EntryOutcome {
    Unchanged, // lookup failed, found nothing, the pick list was cancelled or
               // the row holds a line already
    Refused,   // a check refused the product: the row's line has been removed
    Entered,   // the row's line holds the product, priced, quantity 1
};

enum class LeaveOutcome {
    Leave,    // the cursor may move on; show the row from its line again
    KeepText, // the text is not a number (reported): the cursor stays on it
    Restore,  // the change was refused: the cursor stays, show the row again
};

class TItemEntry {
public:
    TItemEntry(SaleSession& session, EntryPrompts& prompts);

    // Enter on the code cell of `row` with `code`. The entry row (no line yet)
    // gets a new line at the end of SaleLines; a row that already holds a line
    // is left as it is (Unchanged, nothing asked).
    EntryOutcome EnterProduct(int row, const QString& code);

    // Whether line `row` may be sold at `quantity`, counting the same product
    // on the other lines. A refusal that a shortfall offer covers marks the
    // line ShortfallAccepted; any other refusal shows the host's message.
    bool StockCheck(int row, double quantity);

    // Leaving the quantity cell of a line row with `text` in it. A line priced
    // by an offer that does not cover the new quantity goes back to its list
    // price: the cashier is shown the host's refusal and the line's
    // reservation is released.
    LeaveOutcome LeaveQuantity(int row, const QString& text);
    // Leaving the unit price cell.
    LeaveOutcome LeavePrice(int row, const QString& text);
    // Leaving the amount cell; the quantity cell's text is taken with it.
    LeaveOutcome LeaveAmount(int row, const QString& quantityText, const QString& amountText);

    // Reads a cell's number; reports the conversion error when it is none.
    bool ReadNumber(const QString& text, double& value);

private:
    bool CheckProductRules(HostService& host, const TSaleRecord& line, QString& message);
    bool StockCheck(HostService& host, int row, double quantity);
    void LeaveOffer(HostService& host, int row, TSaleRecord& line);
    TSaleRecord* LineOf(int row);

    SaleSession& session_;
    EntryPrompts& prompts_;
};

// Copies the product fields of row `r` of a product packet into `line`.
void CopyProductFields(const DataPacket& products, int r, TSaleRecord& line);

// The department-product and trade-status statements for a product.
QString DepartmentProductSql(const QString& productCode, const QString& counterGroup);
QString TradeStatusSql(const QString& productCode);

} // namespace qiantai
