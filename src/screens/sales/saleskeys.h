// What a function key does on the sales screen, decided from the document's
// state alone.
#pragma once

#include <QString>

namespace qiantai {

enum class SalesKeyAction {
    None,              // not a key of the screen, or it does nothing now
    Checkout,          // F1 with lines
    Discount,          // F3
    DeleteLine,        // F4 on a line row: ask, then delete it
    DeleteAll,         // F5: ask, then delete every line
    NewDocument,       // F6 without lines
    RefuseNewDocument, // F6 with lines
    SystemTools,       // F10 with entries
    ExitQuestion,      // Esc without lines
    RefuseExit,        // Esc with lines
};

struct SalesKeyState {
    bool hasLines = false;       // the document has at least one line
    bool cursorOnLine = false;   // the cursor row holds a line
    bool hasSystemTools = false; // the system tools menu has entries
};

// `key` is a Qt::Key; modifiers are not looked at.
SalesKeyAction DecideSalesKey(int key, const SalesKeyState& state);

QString DeleteLineQuestion();     // "真的要删除当前行记录吗？"
QString DeleteAllQuestion();      // "真的要删除全部记录吗？"
QString NewDocumentRefusedText(); // "已经有销售数据不能修改销售参数！"
QString ExitRefusedText();        // "已经有销售数据不能退出！"

} // namespace qiantai
