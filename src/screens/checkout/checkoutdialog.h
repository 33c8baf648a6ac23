// Base of the checkout's small dialogs: borderless, modal, with a title and
// a key hint line, and every key seen by the dialog before its controls.
#pragma once

#include <QDialog>

class QKeyEvent;
class QLabel;

namespace qiantai {

class TCheckoutDialog : public QDialog {
    Q_OBJECT
public:
    explicit TCheckoutDialog(QWidget* parent);

    // Closes the dialog; exec() returns `result`.
    void Finish(int result);
    // Only the dialog's own keys close it.
    void reject() override;

protected:
    // A key press on the dialog or on a routed control; true when handled.
    virtual bool DialogKey(QKeyEvent* event) = 0;
    // Lets DialogKey() see the key presses of `widget` first.
    void RouteKeys(QWidget* widget);

    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool finishing_ = false;
};

// A label with `text` at (x, y) in `parent`, sized to its text.
QLabel* PlaceLabel(QWidget* parent, const QString& text, int x, int y);

// The screens' font "宋体" (or an installed CJK font where it is missing).
QFont CheckoutFont(int pointSize, bool bold = false);

// Enter on the main keyboard or the keypad.
bool IsEnter(const QKeyEvent* event);

// Places `dialog` with its left edge one pixel right of `anchor` and its
// bottom edge on the anchor's bottom edge.
void PlaceBeside(QWidget* dialog, const QWidget* anchor);

// Centres `widget` on the screen it is on (the primary screen by default).
void CentreOnScreen(QWidget* widget);

} // namespace qiantai
