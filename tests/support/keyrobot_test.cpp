#include "keyrobot.h"

#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <gmock/gmock.h>

using namespace qiantai::test;

namespace {

KeyStep Key(int key, const QString& text, Qt::KeyboardModifiers mods = {})
{
    KeyStep s;
    s.kind = KeyStep::Key;
    s.key = key;
    s.text = text;
    s.modifiers = mods;
    return s;
}

KeyStep Wait(int ms)
{
    KeyStep s;
    s.kind = KeyStep::Wait;
    s.ms = ms;
    return s;
}

KeyStep Shot(const QString& file)
{
    KeyStep s;
    s.kind = KeyStep::Shot;
    s.file = file;
    return s;
}

QList<KeyStep> Parse(const QString& script)
{
    QList<KeyStep> steps;
    QString error;
    EXPECT_TRUE(ParseKeyScript(script, steps, error)) << error.toStdString();
    return steps;
}

// Records every key press it receives.
class KeyLog : public QObject {
public:
    struct Press {
        int key;
        Qt::KeyboardModifiers modifiers;
        QString text;
    };
    QList<Press> presses;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            auto* k = static_cast<QKeyEvent*>(event);
            presses.append({k->key(), k->modifiers(), k->text()});
        }
        return false;
    }
};

// A window whose edit opens a modal dialog with an edit of its own on F2;
// that dialog opens a further one on F3. Enter closes a dialog, which
// records its text.
class Opener : public QObject {
public:
    QStringList closedTexts;

    void open(QWidget* parent, int depth)
    {
        QDialog dialog(parent);
        auto* edit = new QLineEdit(&dialog);
        edit->setObjectName(QStringLiteral("depth%1").arg(depth));
        (new QVBoxLayout(&dialog))->addWidget(edit);
        edit->installEventFilter(this);
        edit->setFocus();
        dialog.exec();
        closedTexts.append(edit->text());
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        auto* widget = static_cast<QWidget*>(watched);
        if (key == Qt::Key_F2 || key == Qt::Key_F3) {
            open(widget->window(), key == Qt::Key_F2 ? 1 : 2);
            return true;
        }
        if (key == Qt::Key_Return) {
            if (auto* dialog = qobject_cast<QDialog*>(widget->window()))
                dialog->accept();
            return true;
        }
        return false;
    }
};

} // namespace

TEST(ParseKeyScript, TextKeysPausesShotsAndComments)
{
    const QList<KeyStep> steps = Parse(QString::fromUtf8("aB 中\n"
                                                         "<Enter><esc> <KP7>  # not typed: <F1>\n"
                                                         "<F12><Ctrl+Enter><Alt+O><wait 250>\n"
                                                         "<shot out/first shot.png><Space>1"));
    const QList<KeyStep> expected = {
        Key(Qt::Key_A, QStringLiteral("a")),
        Key(Qt::Key_B, QStringLiteral("B"), Qt::ShiftModifier),
        Key(Qt::Key_unknown, QString::fromUtf8("中")),
        Key(Qt::Key_Return, QStringLiteral("\r")),
        Key(Qt::Key_Escape, QStringLiteral("\x1b")),
        Key(Qt::Key_7, QStringLiteral("7"), Qt::KeypadModifier),
        Key(Qt::Key_F12, QString()),
        Key(Qt::Key_Return, QStringLiteral("\r"), Qt::ControlModifier),
        Key(Qt::Key_O, QString(), Qt::AltModifier),
        Wait(250),
        Shot(QStringLiteral("out/first shot.png")),
        Key(Qt::Key_Space, QStringLiteral(" ")),
        Key(Qt::Key_1, QStringLiteral("1")),
    };
    ASSERT_EQ(steps.size(), expected.size());
    for (int i = 0; i < steps.size(); ++i)
        EXPECT_TRUE(steps[i] == expected[i]) << "step " << i;
    EXPECT_EQ(steps[3].line, 2);
    EXPECT_EQ(steps[3].column, 1);
    EXPECT_EQ(steps[5].column, 14);
}

TEST(ParseKeyScript, BadTokensAreNamedWithTheirPlace)
{
    const struct {
        const char* script;
        const char* error;
    } cases[] = {
        {"ab<Entr>", "line 1, column 3: unknown key <Entr>"},
        {"a\n  <wait soon>", "line 2, column 3: <wait> needs a number of milliseconds <wait soon>"},
        {"<shot >", "line 1, column 1: <shot> needs a file name <shot >"},
        {"x<Enter", "line 1, column 2: unclosed token \"<Enter\""},
        {"<Tab\n>", "line 1, column 1: unclosed token \"<Tab\""},
        {"1>", "line 1, column 2: stray '>'"},
        {"<KP10>", "line 1, column 1: unknown key <KP10>"},
        {"<Ctrl+>", "line 1, column 1: unknown key <Ctrl+>"},
        {"<press Enter>", "line 1, column 1: unknown token <press Enter>"},
        {"<waitfor>", "line 1, column 1: <waitfor> needs an object name <waitfor>"},
        {"<waitfor:soon frmInfo>",
         "line 1, column 1: <waitfor:MS> needs a time-out in milliseconds <waitfor:soon frmInfo>"},
        {"<waitfor:0 frmInfo>",
         "line 1, column 1: <waitfor:MS> needs a time-out in milliseconds <waitfor:0 frmInfo>"},
    };
    for (const auto& c : cases) {
        QList<KeyStep> steps;
        QString error;
        EXPECT_FALSE(ParseKeyScript(QString::fromUtf8(c.script), steps, error)) << c.script;
        EXPECT_EQ(error.toStdString(), c.error);
    }
    KeyRobot robot;
    EXPECT_FALSE(robot.start(QStringLiteral("<Entr>")));
    EXPECT_FALSE(robot.isRunning());
    EXPECT_THAT(robot.error().toStdString(), ::testing::HasSubstr("<Entr>"));
}

TEST(ParseKeyScript, WaitForANameATextAndATimeOut)
{
    const QList<KeyStep> steps = Parse(
        QString::fromUtf8("<waitfor frmInfo>\n<WaitFor message  剩余 3 件 >\n<waitfor:2500 lblje 0.00>"));
    ASSERT_EQ(steps.size(), 3);
    const struct {
        const char* name;
        const char* shown;
        bool textAwaited;
        int ms;
    } expected[] = {
        {"frmInfo", "", false, DefaultWaitForMs},
        {"message", "剩余 3 件", true, DefaultWaitForMs},
        {"lblje", "0.00", true, 2500},
    };
    for (int i = 0; i < steps.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(steps[i].kind, KeyStep::WaitFor);
        EXPECT_EQ(steps[i].name, QString::fromUtf8(expected[i].name));
        EXPECT_EQ(steps[i].shown, QString::fromUtf8(expected[i].shown));
        EXPECT_EQ(steps[i].textAwaited, expected[i].textAwaited);
        EXPECT_EQ(steps[i].ms, expected[i].ms);
        EXPECT_EQ(steps[i].line, i + 1);
    }
}

TEST(KeyRobot, TypesIntoTheFocusedWidget)
{
    QWidget window;
    auto* edit = new QLineEdit(&window);
    (new QVBoxLayout(&window))->addWidget(edit);
    KeyLog log;
    edit->installEventFilter(&log);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    edit->setFocus();

    QString error;
    EXPECT_TRUE(KeyRobot::run(QString::fromUtf8("ab中文 <Backspace> <Home> X <End> <KP4>"), &error))
        << error.toStdString();
    EXPECT_EQ(edit->text(), QString::fromUtf8("Xab中4"));
    ASSERT_EQ(log.presses.size(), 9);
    EXPECT_EQ(log.presses.last().key, Qt::Key_4);
    EXPECT_EQ(log.presses.last().modifiers, Qt::KeypadModifier);
}

TEST(KeyRobot, KeepsTypingInsideNestedModalDialogs)
{
    QWidget window;
    auto* edit = new QLineEdit(&window);
    (new QVBoxLayout(&window))->addWidget(edit);
    Opener opener;
    edit->installEventFilter(&opener);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    edit->setFocus();

    QString error;
    EXPECT_TRUE(KeyRobot::run(QStringLiteral("main<F2>outer<F3>inner<Enter>more<Enter>tail"), &error))
        << error.toStdString();
    EXPECT_EQ(opener.closedTexts, (QStringList{QStringLiteral("inner"), QStringLiteral("outermore")}));
    EXPECT_EQ(edit->text(), QStringLiteral("maintail"));
}

TEST(KeyRobot, StartsBeforeAModalDialogAndShootsTheActiveWindow)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("dialog.png"));
    QDialog dialog;
    dialog.setFixedSize(240, 120);
    auto* edit = new QLineEdit(&dialog);
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->move(0, 60);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    edit->setFocus();

    KeyRobot robot;
    ASSERT_TRUE(robot.start(QStringLiteral("ok<wait 10><shot %1><Enter>").arg(file)));
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_TRUE(robot.waitDone()) << robot.error().toStdString();
    EXPECT_EQ(edit->text(), QStringLiteral("ok"));
    const QImage shot(file);
    ASSERT_FALSE(shot.isNull());
    EXPECT_EQ(shot.size() / shot.devicePixelRatio(), QSize(240, 120));
}

TEST(KeyRobot, ReportsAShotThatCannotBeSaved)
{
    QDialog dialog;
    new QLineEdit(&dialog);
    KeyRobot robot;
    ASSERT_TRUE(robot.start(QStringLiteral("<shot /nonexistent-dir/x.png><Esc>")));
    // The failing step stops the script before its <Esc>.
    QObject::connect(&robot, &KeyRobot::finished, &dialog, &QDialog::reject);
    dialog.exec();
    EXPECT_FALSE(robot.waitDone());
    EXPECT_THAT(robot.error().toStdString(), ::testing::HasSubstr("could not save /nonexistent-dir/x.png"));
}

namespace {

// Keeps what a label showed at each key press it watches.
class StatusAtKeys : public QObject {
public:
    explicit StatusAtKeys(QLabel* label) : label_(label) {}
    QStringList texts;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress)
            texts << label_->text();
        return false;
    }

private:
    QLabel* label_;
};

// A window titled "till 1" with an edit "entry" that has the focus, a label
// "status" and a button "go".
class StatusWindow : public QWidget {
public:
    StatusWindow()
        : edit(new QLineEdit(this)), status(new QLabel(QStringLiteral("busy"), this)), statusAtKeys(status)
    {
        setObjectName(QStringLiteral("statusWindow"));
        setWindowTitle(QStringLiteral("till 1"));
        edit->setObjectName(QStringLiteral("entry"));
        status->setObjectName(QStringLiteral("status"));
        auto* go = new QPushButton(QStringLiteral("Go"), this);
        go->setObjectName(QStringLiteral("go"));
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(edit);
        layout->addWidget(status);
        layout->addWidget(go);
        edit->installEventFilter(&statusAtKeys);
        show();
        activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(this));
        edit->setFocus();
    }

    QLineEdit* edit;
    QLabel* status;
    StatusAtKeys statusAtKeys;
};

} // namespace

// What a step awaits is there already: the keys follow at once.
TEST(KeyRobotWaitFor, PassesAtOnceForWhatIsShownAlready)
{
    StatusWindow window;
    const char* scripts[] = {
        "<waitfor statusWindow>",        // a window
        "<waitfor status>",              // a widget in it
        "<waitfor status busy>",         // a label's text
        "<waitfor entry>",               // an empty edit, by name
        "<waitfor go Go>",               // a button's text
        "<waitfor statusWindow till 1>", // a window's title
    };
    for (const char* script : scripts) {
        SCOPED_TRACE(script);
        window.edit->clear();
        QString error;
        EXPECT_TRUE(KeyRobot::run(QString::fromUtf8(script) + QStringLiteral("ok"), &error))
            << error.toStdString();
        EXPECT_EQ(window.edit->text(), QStringLiteral("ok"));
    }
}

// A dialog that opens a while after a key: the keys after <waitfor> go into
// the dialog, not into the window below it.
TEST(KeyRobotWaitFor, WaitsForADialogThatOpensLater)
{
    StatusWindow window;
    QString typedInDialog;
    QTimer::singleShot(150, &window, [&] {
        QDialog dialog(&window);
        dialog.setObjectName(QStringLiteral("lateDialog"));
        auto* edit = new QLineEdit(&dialog);
        (new QVBoxLayout(&dialog))->addWidget(edit);
        QObject::connect(edit, &QLineEdit::returnPressed, &dialog, &QDialog::accept);
        edit->setFocus();
        dialog.exec();
        typedInDialog = edit->text();
    });
    QString error;
    EXPECT_TRUE(
        KeyRobot::run(QStringLiteral("a<waitfor lateDialog>inside<Enter><waitfor statusWindow>b"), &error))
        << error.toStdString();
    EXPECT_EQ(typedInDialog, QStringLiteral("inside"));
    EXPECT_EQ(window.edit->text(), QStringLiteral("ab"));
}

// A label that changes a while later: the next key comes once it shows the
// awaited text (blanks around it do not count), not while it shows another.
TEST(KeyRobotWaitFor, WaitsForALabelToShowTheText)
{
    StatusWindow window;
    QTimer::singleShot(100, &window, [&] { window.status->setText(QStringLiteral("half")); });
    QTimer::singleShot(200, &window, [&] { window.status->setText(QStringLiteral("  ready ")); });
    QString error;
    EXPECT_TRUE(KeyRobot::run(QStringLiteral("x<waitfor status ready>y"), &error)) << error.toStdString();
    EXPECT_EQ(window.statusAtKeys.texts, (QStringList{QStringLiteral("busy"), QStringLiteral("  ready ")}));
}

// A step that times out fails with its place, what it awaited and what was
// visible then; the keys after it are not typed.
TEST(KeyRobotWaitFor, TimesOutWithItsPlaceAndTheVisibleWindows)
{
    StatusWindow window;
    const struct {
        const char* script;
        const char* awaited;
    } cases[] = {
        {"a\n  <waitfor:150 frmInfo>b", "line 2, column 3: frmInfo not seen within 150 ms"},
        {"a\n<waitfor:150 status ready>b",
         "line 2, column 1: status showing \"ready\" not seen within 150 ms"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        window.edit->clear();
        QString error;
        EXPECT_FALSE(KeyRobot::run(QString::fromUtf8(c.script), &error));
        EXPECT_THAT(error.toStdString(), ::testing::HasSubstr(c.awaited));
        EXPECT_THAT(error.toStdString(), ::testing::HasSubstr("window\tstatusWindow\tQWidget"));
        EXPECT_THAT(error.toStdString(), ::testing::HasSubstr("label\tstatus\tbusy"));
        EXPECT_THAT(error.toStdString(), ::testing::HasSubstr("edit\tentry\ta"));
        EXPECT_EQ(window.edit->text(), QStringLiteral("a"));
    }
}
