#include "modalscript.h"
#include "stationdirectory.h"

#include "controls/flatedit.h"
#include "screens/lookups/inputquery.h"
#include "screens/lookups/inputqueryrules.h"

#include <QFile>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTemporaryDir>

#include <gmock/gmock.h>

using namespace qiantai;
using qiantai::test::ModalScript;

namespace {

// A station directory of the test's own, named by QIANTAI_INI_DIR, and the
// dialog colours at their initial values.
class InputDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(station_.IsValid());
        savedColors_ = InputDialogColorState();
        InputDialogColorState() = InputDialogColors{};
    }
    void TearDown() override { InputDialogColorState() = savedColors_; }
    void writeStation(const char* text) { ASSERT_TRUE(station_.WriteStation(text)); }

    qiantai::test::StationDirectory station_;
    InputDialogColors savedColors_;
};

struct DrawnColors {
    QColor back;
    QColor editBorder;
    QColor buttonBorder;
};

DrawnColors LookAtColors(QWidget* w)
{
    auto* dialog = qobject_cast<TfrmInputQuery*>(w);
    if (!dialog) {
        ADD_FAILURE() << "the open dialog is not the input dialog";
        return {};
    }
    const QImage image = dialog->grab().toImage();
    const QRect edit = dialog->edit()->geometry();
    const QRect ok = dialog->okButton()->geometry();
    return {image.pixelColor(2, 2), image.pixelColor(edit.left(), edit.center().y()),
            image.pixelColor(ok.left(), ok.center().y())};
}

DrawnColors ShowAndLook()
{
    DrawnColors seen;
    ModalScript keys(QStringLiteral("<Enter>"), [&seen](QWidget* w) { seen = LookAtColors(w); });
    QString value;
    EXPECT_TRUE(InputText(QString::fromUtf8("数量"), QString::fromUtf8("请输入数量"), QStringLiteral("1"),
                          value, nullptr));
    EXPECT_TRUE(keys.done());
    return seen;
}

} // namespace

TEST_F(InputDialog, ColoursPersistBetweenDialogs)
{
    const QColor green(0, 0x80, 0), pale(0xFB, 0xFE, 0xDE), red(255, 0, 0), blue(0, 0, 255);

    // colorstyle missing: the initial colours, whatever else the section says.
    writeStation("[ColorOption]\nlinecolor=255\n");
    DrawnColors seen = ShowAndLook();
    EXPECT_EQ(seen.back, pale);
    EXPECT_EQ(seen.editBorder, green);
    EXPECT_EQ(seen.buttonBorder, green);

    // colorstyle 1: linecolor and backcolor are read (Windows 0x00BBGGRR).
    writeStation("[coloroption]\nColorStyle=1\nLineColor=255\nBackColor=$FF0000\n");
    seen = ShowAndLook();
    EXPECT_EQ(seen.back, blue);
    EXPECT_EQ(seen.editBorder, red);
    EXPECT_EQ(seen.buttonBorder, red);

    // colorstyle 0 again: the colours read last stay.
    writeStation("[ColorOption]\ncolorstyle=0\nlinecolor=65280\nbackcolor=0\n");
    seen = ShowAndLook();
    EXPECT_EQ(seen.back, blue);
    EXPECT_EQ(seen.editBorder, red);

    // colorstyle 1 without the numbers: their defaults.
    writeStation("[ColorOption]\ncolorstyle=1\n");
    seen = ShowAndLook();
    EXPECT_EQ(seen.editBorder, WindowsColor(12349763));
    EXPECT_EQ(seen.back, WindowsColor(15528176));
}

TEST_F(InputDialog, ANonIntegerColourFailsBeforeTheDialogIsShown)
{
    writeStation("[ColorOption]\ncolorstyle=1\nlinecolor=green\nbackcolor=255\n");
    qiantai::test::KeyRobot robot;
    ASSERT_TRUE(robot.start(QStringLiteral("<Esc>")));
    QString value = QStringLiteral("old");
    try {
        InputTextQuery(QStringLiteral("c"), QStringLiteral("p"), value, QChar(), nullptr);
        ADD_FAILURE() << "no error";
    } catch (const IniValueError& e) {
        EXPECT_EQ(e.key(), QStringLiteral("linecolor"));
        EXPECT_THAT(e.text().toStdString(), ::testing::HasSubstr("linecolor=\"green\""));
    }
    // No dialog ran an event loop, so the robot never typed.
    EXPECT_EQ(robot.stepsDone(), 0);
    EXPECT_EQ(value, QStringLiteral("old"));
    EXPECT_EQ(InputDialogColorState().line, InputDialogColors{}.line);
    EXPECT_EQ(InputDialogColorState().back, InputDialogColors{}.back);
}

TEST_F(InputDialog, ConfirmOrCancelByKeysAndButtons)
{
    const struct {
        const char* script;
        bool result;
        const char* value;
    } cases[] = {
        {"d<Enter>", true, "abcd"}, // the caret starts after the last character
        {"<Backspace>9<Alt+O>", true, "ab9"},
        {"<Home>中<Tab><Space>", true, "中abc"}, // Tab to "确认(&O)", Space presses it
        {"xyz<Esc>", false, "abc"},
        {"xyz<Alt+C>", false, "abc"},
        {"xyz<Tab><Tab><Enter>", false, "abc"}, // Enter on the focused "放弃(&C)"
    };
    for (const auto& c : cases) {
        ModalScript keys(QString::fromUtf8(c.script));
        QString value = QStringLiteral("stale");
        EXPECT_EQ(InputText(QStringLiteral("c"), QStringLiteral("p"), QStringLiteral("abc"), value, nullptr),
                  c.result)
            << c.script;
        EXPECT_TRUE(keys.done());
        EXPECT_EQ(value, QString::fromUtf8(c.value)) << c.script;
    }
}

TEST_F(InputDialog, ClosingTheWindowCancels)
{
    ModalScript keys(QString(), [](QWidget* w) { w->close(); });
    QString value = QStringLiteral("kept");
    EXPECT_FALSE(InputTextQuery(QStringLiteral("c"), QStringLiteral("p"), value, QChar(), nullptr));
    EXPECT_TRUE(keys.done());
    EXPECT_EQ(value, QStringLiteral("kept"));
}

TEST_F(InputDialog, TakesAtMost255CharactersAndMasksWithThePasswordCharacter)
{
    ModalScript longer(QStringLiteral("yz<Enter>"));
    QString value(254, QLatin1Char('x'));
    EXPECT_TRUE(InputTextQuery(QStringLiteral("c"), QStringLiteral("p"), value, QChar(), nullptr));
    EXPECT_TRUE(longer.done());
    EXPECT_EQ(value, QString(254, QLatin1Char('x')) + QLatin1Char('y'));

    QChar shown;
    QString displayed;
    ModalScript password(QStringLiteral("k9<Enter>"), [&](QWidget* w) {
        TFlatEdit* edit = qobject_cast<TfrmInputQuery*>(w)->edit();
        shown = QChar(edit->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, edit));
        displayed = edit->displayText();
    });
    QString secret = QStringLiteral("ab");
    EXPECT_TRUE(InputTextQuery(QString::fromUtf8("授权"), QString::fromUtf8("密码"), secret, QLatin1Char('*'),
                               nullptr));
    EXPECT_TRUE(password.done());
    EXPECT_EQ(shown, QLatin1Char('*'));
    EXPECT_EQ(displayed, QStringLiteral("**"));
    EXPECT_EQ(secret, QStringLiteral("abk9"));
}

TEST_F(InputDialog, IsLaidOutFromTheMeasuredFontAndCentred)
{
    InputDialogLayout expected;
    QRect edit, ok, cancel;
    QPoint prompt, centre;
    QSize client, minimum, maximum;
    QString title;
    ModalScript keys(QStringLiteral("<Esc>"), [&](QWidget* w) {
        auto* dialog = qobject_cast<TfrmInputQuery*>(w);
        const QFontMetrics fm(dialog->font());
        expected = ComputeInputDialogLayout(fm.horizontalAdvance(InputMeasureLetters()), fm.height());
        edit = dialog->edit()->geometry();
        ok = dialog->okButton()->geometry();
        cancel = dialog->cancelButton()->geometry();
        prompt = dialog->promptLabel()->pos();
        client = dialog->size();
        minimum = dialog->minimumSize();
        maximum = dialog->maximumSize();
        title = dialog->windowTitle();
        centre = dialog->geometry().center();
    });
    QString value;
    InputText(QString::fromUtf8("会员卡"), QString::fromUtf8("请输入卡号"), {}, value, nullptr);
    ASSERT_TRUE(keys.done());
    EXPECT_EQ(title, QString::fromUtf8("会员卡"));
    EXPECT_EQ(client, expected.client);
    EXPECT_EQ(minimum, maximum);
    EXPECT_EQ(prompt, expected.prompt);
    EXPECT_EQ(edit.topLeft(), QPoint(expected.editLeft, expected.editTop));
    EXPECT_EQ(edit.width(), expected.editWidth);
    EXPECT_EQ(ok, expected.okButton);
    EXPECT_EQ(cancel, expected.cancelButton);
    const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE((centre - screenCentre).manhattanLength(), 2);
}

TEST(InputDialogLayout, UnitsAreRoundedHalvesUp)
{
    // x = 415 / 52 = 7 (whole pixels), y = 13.
    const InputDialogLayout l = ComputeInputDialogLayout(415, 13);
    EXPECT_EQ(l.client, QSize(315, 102));
    EXPECT_EQ(l.prompt, QPoint(14, 13));
    EXPECT_EQ(l.editLeft, 14);
    EXPECT_EQ(l.editTop, 31);
    EXPECT_EQ(l.editWidth, 287);
    EXPECT_EQ(l.okButton, QRect(67, 67, 88, 23));
    EXPECT_EQ(l.cancelButton, QRect(161, 67, 88, 23));
}

TEST(InputDialogColors, ReadingTheColourOptions)
{
    const InputDialogColors initial;
    EXPECT_EQ(WindowsColor(initial.line), QColor(0, 0x80, 0));
    EXPECT_EQ(WindowsColor(initial.back), QColor(0xFB, 0xFE, 0xDE));

    const InputDialogColors kept =
        NextInputDialogColors({255, 0}, QStringLiteral("0"), QStringLiteral("bad"), QStringLiteral("bad"));
    EXPECT_EQ(kept.line, 255);
    EXPECT_EQ(kept.back, 0);
    const InputDialogColors read = NextInputDialogColors(
        initial, QStringLiteral("2"), QStringLiteral("16711680"), QStringLiteral("0x00FF00"));
    EXPECT_EQ(read.line, 0xFF0000);
    EXPECT_EQ(read.back, 0x00FF00);
    EXPECT_THROW(
        NextInputDialogColors(initial, QStringLiteral("1"), QStringLiteral("255"), QStringLiteral("1.5")),
        IniValueError);
}

TEST(ParseIniInteger, WholeNumbersOnly)
{
    const struct {
        const char* text;
        bool ok;
        qint32 value;
    } cases[] = {
        {"12349763", true, 12349763},
        {"-1", true, -1},
        {"+7", true, 7},
        {"$FF", true, 255},
        {"0x00ff00", true, 65280},
        {"$FFFFFFFF", true, -1},
        {"2147483647", true, 2147483647},
        {"2147483648", false, 0},
        {"", false, 0},
        {"abc", false, 0},
        {"12.5", false, 0},
        {"1e3", false, 0},
        {"0x", false, 0},
        {"$1FFFFFFFF", false, 0},
        {"12 ", false, 0},
    };
    for (const auto& c : cases) {
        qint32 value = 0;
        EXPECT_EQ(ParseIniInteger(QString::fromLatin1(c.text), value), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
}
