// The texts a cashier sees, as lines of a file a test can read back.
#pragma once

#include <QString>

namespace qiantai::test {

// One line per named label and line edit and one per row of each item view,
// of every visible top-level window, fields separated by tabs:
//   label   NAME  TEXT
//   edit    NAME  TEXT
//   row     NAME  ROW  CELL0  CELL1 ...
// Tabs and line breaks inside texts become blanks.
QString DumpWidgetTexts();

} // namespace qiantai::test
