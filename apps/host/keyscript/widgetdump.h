// The texts a cashier sees, as lines of a file a test can read back.
#pragma once

#include <QString>

class QWidget;

namespace qiantai::keyscript {

// One line per named label and line edit and one per row of each item view,
// of every visible top-level window, fields separated by tabs:
//   label   NAME  TEXT
//   edit    NAME  TEXT
//   row     NAME  ROW  CELL0  CELL1 ...
// Tabs and line breaks inside texts become blanks.
QString DumpWidgetTexts();

// The same, each visible window's lines after a line of its own:
//   window  NAME  CLASS
QString DumpVisibleWindows();

// The text a widget shows: a label's, a line edit's, a button's, else a
// window's title.
QString ShownText(const QWidget* widget);

// A visible window named `name`, or a widget of that name visible in a
// visible window; with `text`, only one whose ShownText() is `text` (blanks
// around either do not count). Null when there is none.
QWidget* FindShownWidget(const QString& name, const QString* text = nullptr);

} // namespace qiantai::keyscript
