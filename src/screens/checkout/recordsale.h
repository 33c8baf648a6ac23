// Recording the sale: the packets, the rebate, the operator refresh, the
// save operation of the sales method, the check that the document arrived in
// the month's tables, points and the receipt.
#pragma once

#include "qiantai/datapacket.h"

#include <QString>
#include <QVariant>

namespace qiantai {

class HostService;
struct SaleSession;

// Default time the "正在打印..." panel stays on screen after recording.
constexpr int DefaultRecordPauseMs = 1000;

// What recording needs from the settlement screen.
class RecordingUi {
public:
    virtual ~RecordingUi() = default;

    // While busy the screen ignores every key.
    virtual void SetBusy(bool busy) = 0;
    // The main panel hidden, "正在提交销售数据..." shown, repainted at once.
    virtual void ShowSubmitting() = 0;
    // "正在打印..." shown as well.
    virtual void ShowPrinting() = 0;
    // The main panel back, the message panel hidden, repainted.
    virtual void ShowMainPanel() = 0;
    // A message in the information box with one confirm button.
    virtual void ShowMessage(const QVariant& message, const QString& caption) = 0;
    // Prints the receipt of the recorded document from its sale-line table;
    // false with `message` when it did not print.
    virtual bool PrintReceipt(const DataPacket& saleLines, QString& message) = 0;
    // Tells that the receipt did not print and asks whether to print it
    // again; by default only tells.
    virtual bool AskPrintAgain(const QString& message, const QString& caption)
    {
        ShowMessage(message, caption);
        return false;
    }
    // Keeps the screen as it is for `ms` milliseconds.
    virtual void Pause(int ms) = 0;
};

// The query that finds the stored document: the month's sale tables for
// sales method 0, the pre-sale tables otherwise, under the counter group
// Gzbm. Empty when Dqny is not a year-month.
QString VerifyStoredSql(const SaleSession& s);

// Records the document. True when the host stored it (then Khxx is empty and
// the receipt went out, or the cashier was told it did not print); false after
// a refusal or a missing document has been shown, with every payment kept so
// that Enter can try again.
bool RecordSale(SaleSession& s, HostService& host, RecordingUi& ui, int pauseMs = DefaultRecordPauseMs);

} // namespace qiantai
