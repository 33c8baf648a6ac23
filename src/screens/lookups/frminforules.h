// Rules of the information box that need no window.
#pragma once

#include <QSize>
#include <QString>

namespace qiantai {

QString InfoDefaultHeading(); // "信息窗口"
QString InfoEnterHint();      // "【Enter】确定"
QString InfoEnterEscHint();   // "【Enter】确定  【Esc】取消"
constexpr QSize InfoDesignedPanel{317, 48};
constexpr int InfoDesignedLineHeight = 14;

// What the information box asks of the cashier. The box closes with 1 on
// Enter and, for a question, with 2 on Esc.
enum class InfoKind {
    Notice = 0,    // Enter only, under the key hint line of a question
    Statement = 1, // Enter only
    Question = 2,  // Enter or Esc; so is every kind above
};

// A statement gives InfoEnterHint(), any other kind InfoEnterEscHint(); a
// non-empty hint from the caller replaces it whatever the kind.
QString InfoKeyHint(InfoKind kind, const QString& callerHint);
// Heading: the caller's caption when not empty, else InfoDefaultHeading().
QString InfoHeading(const QString& callerCaption);
// Esc closes only a question (or a kind above it).
inline bool InfoAcceptsEsc(InfoKind kind)
{
    return int(kind) >= int(InfoKind::Question);
}
// The message as the label shows it: CR LF and lone CR become line breaks.
QString InfoDisplayText(const QString& message);
// Message panel for a message of `messageSize`: at least the message + 16
// wide and + 34 high, never smaller than the designed 317 x 48. The 34 are
// meant for the designed font, whose line is 14 pixels high; with a font of
// another line height (the fallback font on Linux) the allowance is
// 48 - `lineHeight`, so that a one-line message still keeps the designed
// size and each further line grows the panel.
QSize InfoMessagePanelSize(QSize messageSize, int lineHeight = InfoDesignedLineHeight);

} // namespace qiantai
