// The module's light-blue modal frame without a title bar: a heading band, a
// body panel that the dialog fills, and a key hint line. It closes only
// through finish(); the platform's close and QDialog's Esc handling are
// ignored, so a dialog decides in frameKey() which keys close it.
#pragma once

#include <QDialog>
#include <QRect>
#include <QSize>

class QLabel;
class QKeyEvent;

namespace qiantai {

// Where the parts of a frame go, in frame coordinates.
struct FrameGeometry {
    QSize frame;
    QRect heading;
    QRect body;
    QRect hint;
};

// The standard arrangement around a body of `bodySize`: a 335 x 138 frame for
// the 317 x 48 body of the information box; a larger body widens the frame,
// the heading and the hint line with it and moves the hint line down.
FrameGeometry StandardFrameGeometry(QSize bodySize);

class TBlueFrame : public QDialog {
    Q_OBJECT
public:
    explicit TBlueFrame(QWidget* parent);

    void setHeading(const QString& text);
    QString heading() const;
    void setKeyHint(const QString& text);
    QString keyHint() const;

    // The panel between heading and hint line; the dialog places its
    // widgets on it.
    QWidget* body() const { return body_; }
    // Arranges the frame around a body of this size (StandardFrameGeometry).
    void setBodySize(QSize size);
    QSize bodySize() const;

    // Centres the frame on the screen of its parent, else the primary screen.
    void centreOnScreen();

    // Closes the frame; exec() returns `result`.
    void finish(int result);
    // Ignored: only the frame's own keys close it.
    void reject() override;

protected:
    // A key press on the frame or on a widget passed to routeKeys(); returns
    // true when the key was handled (it then goes no further).
    virtual bool frameKey(QKeyEvent* event) = 0;
    // Lets frameKey() see key presses on `widget` before the widget does
    // (for widgets that would otherwise consume Enter or Esc).
    void routeKeys(QWidget* widget);

    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* heading_;
    QWidget* body_;
    QLabel* hint_;
    bool finishing_ = false;
};

// Enter on the main keyboard or the keypad, without Ctrl, Alt or Meta.
bool IsEnterKey(const QKeyEvent* event);
bool IsEscKey(const QKeyEvent* event);

} // namespace qiantai
