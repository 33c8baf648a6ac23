// What checkout uses of the shared dialogs and settings, in one place.
#pragma once

#include "qiantai/datapacket.h"

#include <QString>
#include <QVariant>

class QWidget;

namespace qiantai {

// The information box with one confirm button: a text or a list of texts
// (one per line) with `caption` (empty: the box's own heading).
void ShowCheckoutMessage(const QVariant& message, const QString& caption, QWidget* parent);
// A yes/no question in the same box: true for Enter, false for Esc.
bool AskCheckoutQuestion(const QString& question, const QString& caption, QWidget* parent);

// The customer information box over `khxx`; true and the edited text when
// it was confirmed.
bool EditCustomerInfoText(QString& khxx, QWidget* parent);

// The input dialog of unified collection; true with the typed text when
// confirmed.
bool InputDocumentNumbers(const QString& prompt, QString& text, QWidget* parent);

// [Checkout] RecordPause of the station INI: how long the "正在打印..."
// panel stays, in milliseconds.
int RecordPauseMs();

// Prints the receipt of the document just recorded; false with `message`
// when it did not print.
bool PrintRecordedReceipt(const DataPacket& saleLines, QString& message);

} // namespace qiantai
