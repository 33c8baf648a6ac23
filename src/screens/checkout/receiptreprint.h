// The system tools entry that reprints the last receipt.
#pragma once

class QWidget;

namespace qiantai {

// Reprints Session().LastReceipt to the station's printer or report output;
// says in the information box, owned by `owner`, why when it cannot.
void ReprintLastReceipt(QWidget* owner);

// Makes the system tools menu's reprint entry (ReprintReceiptTool) run
// ReprintLastReceipt.
void RegisterReceiptReprintTool();

} // namespace qiantai
