#include "keyscript/keyrobot.h"
#include "keyscript/widgetdump.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QHash>
#include <QKeyEvent>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

namespace qiantai::keyscript {

namespace {

struct NamedKey {
    int key;
    const char* text;
};

const QHash<QString, NamedKey>& NamedKeys()
{
    static const QHash<QString, NamedKey> keys = [] {
        QHash<QString, NamedKey> k{
            {QStringLiteral("enter"), {Qt::Key_Return, "\r"}},
            {QStringLiteral("esc"), {Qt::Key_Escape, "\x1b"}},
            {QStringLiteral("tab"), {Qt::Key_Tab, "\t"}},
            {QStringLiteral("backspace"), {Qt::Key_Backspace, "\b"}},
            {QStringLiteral("space"), {Qt::Key_Space, " "}},
            {QStringLiteral("up"), {Qt::Key_Up, ""}},
            {QStringLiteral("down"), {Qt::Key_Down, ""}},
            {QStringLiteral("left"), {Qt::Key_Left, ""}},
            {QStringLiteral("right"), {Qt::Key_Right, ""}},
            {QStringLiteral("home"), {Qt::Key_Home, ""}},
            {QStringLiteral("end"), {Qt::Key_End, ""}},
        };
        for (int n = 1; n <= 12; ++n)
            k.insert(QStringLiteral("f%1").arg(n), {Qt::Key_F1 + n - 1, ""});
        return k;
    }();
    return keys;
}

// The Qt key code of a typed character.
int CharacterKey(QChar c)
{
    if (c.unicode() < 0x80) {
        const QChar upper = c.toUpper();
        return upper.unicode();
    }
    return Qt::Key_unknown;
}

struct Cursor {
    int line = 1;
    int column = 1;
};

QString Where(const Cursor& at)
{
    return QStringLiteral("line %1, column %2").arg(at.line).arg(at.column);
}

// Parses the inside of <...>; false with `problem` set when it is not a
// known token.
bool ParseToken(const QString& inside, KeyStep& step, QString& problem)
{
    const QString trimmed = inside.trimmed();
    const int blank = int(trimmed.indexOf(QLatin1Char(' ')));
    const QString word = (blank < 0 ? trimmed : trimmed.left(blank)).toLower();
    const QString argument = blank < 0 ? QString() : trimmed.mid(blank + 1).trimmed();

    if (word == QLatin1String("wait")) {
        bool ok = false;
        const int ms = argument.toInt(&ok);
        if (!ok || ms < 0) {
            problem = QStringLiteral("<wait> needs a number of milliseconds");
            return false;
        }
        step.kind = KeyStep::Wait;
        step.ms = ms;
        return true;
    }
    if (word == QLatin1String("waitfor") || word.startsWith(QLatin1String("waitfor:"))) {
        step.kind = KeyStep::WaitFor;
        step.ms = DefaultWaitForMs;
        if (word.size() > 7) {
            bool ok = false;
            step.ms = word.mid(8).toInt(&ok);
            if (!ok || step.ms <= 0) {
                problem = QStringLiteral("<waitfor:MS> needs a time-out in milliseconds");
                return false;
            }
        }
        const int gap = int(argument.indexOf(QLatin1Char(' ')));
        step.name = gap < 0 ? argument : argument.left(gap);
        step.shown = gap < 0 ? QString() : argument.mid(gap + 1).trimmed();
        step.textAwaited = gap >= 0;
        if (step.name.isEmpty()) {
            problem = QStringLiteral("<waitfor> needs an object name");
            return false;
        }
        return true;
    }
    if (word == QLatin1String("shot") || word == QLatin1String("dump")) {
        if (argument.isEmpty()) {
            problem = QStringLiteral("<%1> needs a file name").arg(word);
            return false;
        }
        step.kind = word == QLatin1String("shot") ? KeyStep::Shot : KeyStep::Dump;
        step.file = argument;
        return true;
    }
    if (blank >= 0) {
        problem = QStringLiteral("unknown token");
        return false;
    }

    QString name = trimmed;
    Qt::KeyboardModifiers modifiers;
    for (;;) {
        const int plus = int(name.indexOf(QLatin1Char('+')));
        if (plus <= 0 || plus == name.size() - 1)
            break;
        const QString prefix = name.left(plus).toLower();
        if (prefix == QLatin1String("ctrl"))
            modifiers |= Qt::ControlModifier;
        else if (prefix == QLatin1String("shift"))
            modifiers |= Qt::ShiftModifier;
        else if (prefix == QLatin1String("alt"))
            modifiers |= Qt::AltModifier;
        else
            break;
        name = name.mid(plus + 1);
    }

    step.kind = KeyStep::Key;
    const QString lower = name.toLower();
    const auto named = NamedKeys().constFind(lower);
    if (named != NamedKeys().constEnd()) {
        step.key = named->key;
        step.text = QString::fromLatin1(named->text);
        step.modifiers = modifiers;
        return true;
    }
    if (lower.size() == 3 && lower.startsWith(QLatin1String("kp")) && lower[2].isDigit()) {
        step.key = Qt::Key_0 + lower[2].digitValue();
        step.text = lower.mid(2);
        step.modifiers = modifiers | Qt::KeypadModifier;
        return true;
    }
    // A single character with modifiers, e.g. <Alt+O>.
    if (modifiers != Qt::NoModifier && name.size() == 1) {
        step.key = CharacterKey(name[0]);
        step.text = (modifiers & (Qt::ControlModifier | Qt::AltModifier)) ? QString() : name;
        step.modifiers = modifiers;
        return true;
    }
    problem = QStringLiteral("unknown key");
    return false;
}

// The visible window nearest to `last` (itself or the window of one of its
// parents), else any visible ordinary window.
QWidget* FallbackWindow(QWidget* last)
{
    for (QWidget* w = last; w; w = w->parentWidget() ? w->parentWidget()->window() : nullptr)
        if (w->isVisible())
            return w;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows) {
        const Qt::WindowType type = w->windowType();
        if (w->isVisible() && type != Qt::Popup && type != Qt::ToolTip && type != Qt::SplashScreen)
            return w;
    }
    return nullptr;
}

} // namespace

bool ParseKeyScript(const QString& script, QList<KeyStep>& steps, QString& error)
{
    steps.clear();
    error.clear();
    Cursor at;
    auto advance = [&at](QChar c) {
        if (c == QLatin1Char('\n')) {
            ++at.line;
            at.column = 1;
        } else {
            ++at.column;
        }
    };
    int i = 0;
    const int n = int(script.size());
    while (i < n) {
        const QChar c = script[i];
        if (c == QLatin1Char('#')) {
            while (i < n && script[i] != QLatin1Char('\n'))
                advance(script[i++]);
            continue;
        }
        if (c.isSpace()) {
            advance(c);
            ++i;
            continue;
        }
        if (c == QLatin1Char('>')) {
            error = QStringLiteral("%1: stray '>'").arg(Where(at));
            return false;
        }
        KeyStep step;
        step.line = at.line;
        step.column = at.column;
        if (c == QLatin1Char('<')) {
            int close = i + 1;
            while (close < n && script[close] != QLatin1Char('>') && script[close] != QLatin1Char('<') &&
                   script[close] != QLatin1Char('\n'))
                ++close;
            if (close >= n || script[close] != QLatin1Char('>')) {
                error = QStringLiteral("%1: unclosed token \"%2\"").arg(Where(at), script.mid(i, close - i));
                return false;
            }
            const QString token = script.mid(i, close - i + 1);
            QString problem;
            if (!ParseToken(script.mid(i + 1, close - i - 1), step, problem)) {
                error = QStringLiteral("%1: %2 %3").arg(Where(at), problem, token);
                return false;
            }
            steps.append(step);
            for (; i <= close; ++i)
                advance(script[i]);
            continue;
        }
        // One typed character; a surrogate pair is one character.
        int length = 1;
        if (c.isHighSurrogate() && i + 1 < n && script[i + 1].isLowSurrogate())
            length = 2;
        step.kind = KeyStep::Key;
        step.text = script.mid(i, length);
        step.key = length == 1 ? CharacterKey(c) : int(Qt::Key_unknown);
        if (length == 1 && c.isLetter() && c.isUpper() && c.unicode() < 0x80)
            step.modifiers = Qt::ShiftModifier;
        steps.append(step);
        for (int k = 0; k < length; ++k)
            advance(script[i++]);
    }
    return true;
}

QWidget* KeyTarget()
{
    if (QWidget* grabber = QWidget::keyboardGrabber())
        return grabber;
    if (QWidget* popup = QApplication::activePopupWidget())
        return popup->focusWidget() ? popup->focusWidget() : popup;
    QWidget* focus = QApplication::focusWidget();
    if (QWidget* modal = QApplication::activeModalWidget()) {
        if (focus && focus->window() == modal)
            return focus;
        return modal->focusWidget() ? modal->focusWidget() : modal;
    }
    if (focus && focus->isVisible())
        return focus;
    if (QWidget* active = QApplication::activeWindow())
        return active->focusWidget() ? active->focusWidget() : active;
    return nullptr;
}

KeyRobot::KeyRobot(QObject* parent) : QObject(parent) {}

KeyRobot::~KeyRobot() = default;

bool KeyRobot::start(const QString& script)
{
    QString error;
    if (!ParseKeyScript(script, steps_, error)) {
        error_ = error;
        running_ = false;
        return false;
    }
    error_.clear();
    next_ = 0;
    targetWaits_ = 0;
    waitingFor_.invalidate();
    running_ = true;
    schedule(interval_);
    return true;
}

void KeyRobot::schedule(int ms)
{
    // A fresh timer per step: a timer does not fire again while its own
    // handler runs, so a key that opens a modal dialog would otherwise stop
    // the typing inside that dialog.
    QTimer::singleShot(ms, this, &KeyRobot::step);
}

void KeyRobot::step()
{
    if (!running_)
        return;
    if (next_ >= steps_.size()) {
        running_ = false;
        emit finished(true);
        return;
    }
    const KeyStep s = steps_[next_++];
    switch (s.kind) {
    case KeyStep::Wait:
        schedule(s.ms);
        break;
    case KeyStep::WaitFor:
        if (awaited(s)) {
            schedule(interval_);
        } else if (running_) {
            --next_;
            schedule(WaitForPollMs);
        }
        break;
    case KeyStep::Shot:
        schedule(interval_);
        saveShot(s);
        break;
    case KeyStep::Dump:
        schedule(interval_);
        saveDump(s);
        break;
    case KeyStep::Key:
        // Right after a dialog closes no window may be active: activate the
        // window it belonged to, as a window manager would, and type on once
        // the focus has settled.
        if (!KeyTarget()) {
            if (QWidget* window = FallbackWindow(lastWindow_))
                window->activateWindow();
            if (++targetWaits_ * TargetPollMs > TargetWaitLimitMs) {
                fail(QStringLiteral("line %1, column %2: no widget to type into").arg(s.line).arg(s.column));
                return;
            }
            --next_;
            schedule(TargetPollMs);
            return;
        }
        targetWaits_ = 0;
        schedule(interval_);
        sendKey(s);
        break;
    }
}

void KeyRobot::fail(const QString& message)
{
    if (!running_)
        return;
    error_ = message;
    running_ = false;
    emit finished(false);
}

void KeyRobot::sendKey(const KeyStep& s)
{
    QPointer<QWidget> target = KeyTarget();
    lastWindow_ = target->window();
    // Sent, not spontaneous: QApplication then offers a key press to the
    // shortcuts first (ShortcutOverride), as for a key from the keyboard.
    QKeyEvent press(QEvent::KeyPress, s.key, s.modifiers, s.text);
    QCoreApplication::sendEvent(target, &press);
    if (!target)
        return;
    QKeyEvent release(QEvent::KeyRelease, s.key, s.modifiers, s.text);
    QCoreApplication::sendEvent(target, &release);
}

bool KeyRobot::awaited(const KeyStep& s)
{
    if (FindShownWidget(s.name, s.textAwaited ? &s.shown : nullptr)) {
        waitingFor_.invalidate();
        return true;
    }
    if (!waitingFor_.isValid()) {
        waitingFor_.start();
    } else if (waitingFor_.elapsed() >= s.ms) {
        waitingFor_.invalidate();
        const QString awaitedWhat =
            s.textAwaited ? QStringLiteral("%1 showing \"%2\"").arg(s.name, s.shown) : s.name;
        fail(QStringLiteral("line %1, column %2: %3 not seen within %4 ms; visible then:\n%5")
                 .arg(s.line)
                 .arg(s.column)
                 .arg(awaitedWhat)
                 .arg(s.ms)
                 .arg(DumpVisibleWindows()));
    }
    return false;
}

void KeyRobot::saveShot(const KeyStep& s)
{
    QWidget* window = QApplication::activeModalWidget();
    if (!window)
        window = QApplication::activeWindow();
    if (!window && KeyTarget())
        window = KeyTarget()->window();
    if (!window) {
        fail(QStringLiteral("line %1, column %2: no window for <shot %3>")
                 .arg(s.line)
                 .arg(s.column)
                 .arg(s.file));
        return;
    }
    if (!window->grab().save(s.file))
        fail(QStringLiteral("line %1, column %2: could not save %3").arg(s.line).arg(s.column).arg(s.file));
}

void KeyRobot::saveDump(const KeyStep& s)
{
    QFile file(s.file);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(DumpWidgetTexts().toUtf8()) < 0)
        fail(QStringLiteral("line %1, column %2: could not write %3").arg(s.line).arg(s.column).arg(s.file));
}

bool KeyRobot::waitDone(int timeoutMs)
{
    if (running_) {
        QEventLoop loop;
        QTimer limit;
        limit.setSingleShot(true);
        connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
        connect(this, &KeyRobot::finished, &loop, &QEventLoop::quit);
        limit.start(timeoutMs);
        loop.exec();
        if (running_) {
            running_ = false;
            error_ = QStringLiteral("the script was not done after %1 ms (%2 of %3 steps)")
                         .arg(timeoutMs)
                         .arg(next_)
                         .arg(steps_.size());
        }
    }
    return error_.isEmpty();
}

bool KeyRobot::run(const QString& script, QString* error)
{
    KeyRobot robot;
    const bool ok = robot.start(script) && robot.waitDone();
    if (error)
        *error = robot.error();
    return ok;
}

} // namespace qiantai::keyscript
