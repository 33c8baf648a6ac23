// Rules of the system tools menu that need no window: entry texts, the
// selection label, the keys and the placement over the sales screen's footer.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

namespace qiantai {

// "  [n] " + caption, n counting from 1.
QString SysToolEntryText(int n, const QString& caption);
// "选择[n]项".
QString SysToolSelectionText(int n);

// The entry selected after `key` (a Qt::Key) with `text` on entry `current`
// (0-based) of `count`: Up and Down wrap, a digit 1..count selects that entry;
// any other key leaves the selection as it is.
int SysToolSelectionAfterKey(int current, int count, int key, const QString& text);

// Top-left of the menu: centred horizontally on the footer (in the footer's
// coordinates of `footer`), bottom edge 40 pixels above the footer's bottom.
QPoint SysToolMenuPosition(const QRect& footer, QSize menu);
// Top-left of the tool screen opened from it: centred the same way, its top
// where the menu's top is.
QPoint SysToolScreenPosition(const QRect& footer, QSize menu, QSize screen);

} // namespace qiantai
