// Types a key script into whichever widget has the focus, the way a cashier
// types, also inside nested modal dialogs.
//
// Script format:
//   plain text           typed character by character (Chinese too)
//   <Enter> <Esc> <Tab> <Backspace> <Space> <Up> <Down> <Left> <Right>
//   <Home> <End> <F1>...<F12>            keys
//   <KP0>...<KP9>        digits of the numeric keypad
//   <Ctrl+KEY> <Shift+KEY> <Alt+KEY>     a key or a character with modifiers,
//                        e.g. <Ctrl+Enter>, <Alt+O>
//   <wait MS>            pause, where nothing observable is awaited
//   <waitfor NAME>       wait until a visible window or widget named NAME
//                        (objectName) is there
//   <waitfor NAME TEXT>  wait until such a widget shows TEXT (label, line
//                        edit, button or window title; blanks around either
//                        side do not count)
//   <waitfor:MS ...>     the same with a time-out of MS instead of 10 s; a
//                        time-out fails the step, naming what was visible
//   <shot FILE.png>      save the active window as an image
//   <dump FILE>          write the texts of the visible windows (widgetdump.h)
//   # ...                comment to the end of the line
// White space between tokens is ignored: a blank is typed as <Space>. Key
// names are matched without regard to case.
#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class QTimer;
class QWidget;

namespace qiantai::keyscript {

// How long <waitfor> waits unless the step names its own time-out.
constexpr int DefaultWaitForMs = 10000;

struct KeyStep {
    enum Kind { Key, Wait, WaitFor, Shot, Dump };
    Kind kind = Key;
    int key = 0; // Qt::Key
    Qt::KeyboardModifiers modifiers;
    QString text;  // the key's text; empty for keys without one
    int ms = 0;    // Wait; WaitFor: the time-out
    QString file;  // Shot, Dump
    QString name;  // WaitFor: the objectName awaited
    QString shown; // WaitFor: the text awaited
    bool textAwaited = false;
    int line = 0; // where the step starts in the script, from 1
    int column = 0;

    bool operator==(const KeyStep& o) const
    {
        return kind == o.kind && key == o.key && modifiers == o.modifiers && text == o.text && ms == o.ms &&
               file == o.file && name == o.name && shown == o.shown && textAwaited == o.textAwaited;
    }
};

// Turns a script into steps. On a bad token returns false with `error` naming
// the token and its line and column.
bool ParseKeyScript(const QString& script, QList<KeyStep>& steps, QString& error);

// The widget that receives the next key: the keyboard grabber, the focus
// widget of the active popup, the focus widget of the active modal dialog (or
// the dialog itself), the application's focus widget, the active window's.
// Null when none is there (for a moment after a dialog closed); the robot
// then waits for one, up to five seconds.
QWidget* KeyTarget();

class KeyRobot : public QObject {
    Q_OBJECT
public:
    explicit KeyRobot(QObject* parent = nullptr);
    ~KeyRobot() override;

    // Parses `script` and starts typing from the event loop: call it before a
    // function that opens a modal dialog. False (and nothing starts) when the
    // script does not parse.
    bool start(const QString& script);
    bool isRunning() const { return running_; }
    // Empty while all goes well; the parse error, or the step that could not
    // be carried out (no widget to type into, a shot that could not be saved,
    // a widget that did not appear in time).
    QString error() const { return error_; }
    // Steps carried out so far.
    int stepsDone() const { return next_; }
    // Processes events until the script has been typed; false on an error or
    // when it is not done within `timeoutMs`.
    bool waitDone(int timeoutMs = 30000);
    // Pause between keys, in milliseconds (default 0: events are still
    // processed between keys).
    void setKeyInterval(int ms) { interval_ = ms; }

    // Types `script` and returns when it is done.
    static bool run(const QString& script, QString* error = nullptr);

signals:
    void finished(bool ok);

private:
    void schedule(int ms);
    void step();
    void fail(const QString& message);
    void sendKey(const KeyStep& s);
    void saveShot(const KeyStep& s);
    void saveDump(const KeyStep& s);
    // True once the awaited widget is there; fails the step after its time-out.
    bool awaited(const KeyStep& s);

    static constexpr int TargetPollMs = 5;
    static constexpr int TargetWaitLimitMs = 5000;
    static constexpr int WaitForPollMs = 10;

    QList<KeyStep> steps_;
    int next_ = 0;
    int targetWaits_ = 0;
    QElapsedTimer waitingFor_;
    QPointer<QWidget> lastWindow_;
    int interval_ = 0;
    bool running_ = false;
    QString error_;
};

} // namespace qiantai::keyscript
