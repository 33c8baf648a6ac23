#include "modalscript.h"
#include "storefixture.h"

#include "controls/flatedit.h"
#include "sale/salesession.h"
#include "screens/lookups/frminfo.h"
#include "screens/lookups/frminputxsxx.h"
#include "screens/lookups/frmselect.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>

#include <gtest/gtest.h>

using namespace qiantai;
using qiantai::test::ModalScript;
using qiantai::test::StoreFixture;

TEST(TfrmSelect, KeysMoveTheChoiceAndCloseThePicker)
{
    const struct {
        int start;
        const char* script;
        int result;
        int selected;
    } cases[] = {
        {0, "<Down><Down><Enter>", TfrmSelect::Confirmed, 2},
        {0, "<Up><Enter>", TfrmSelect::Confirmed, 3},        // wraps to the last option
        {3, "<Down><KP1><Enter>", TfrmSelect::Confirmed, 1}, // keypad digit picks directly
        {2, "0<Enter>", TfrmSelect::Confirmed, 0},
        {1, "<Down><Esc>", TfrmSelect::Cancelled, 2},
        {1, "x<Space><Enter>", TfrmSelect::Confirmed, 1}, // other keys change nothing
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        TfrmSelect picker(nullptr);
        picker.setSelected(c.start);
        QString shownChoice;
        ModalScript script(QString::fromUtf8(c.script), [&](QWidget* w) {
            shownChoice = static_cast<TfrmSelect*>(w)->choiceLabel()->text();
        });
        EXPECT_EQ(picker.exec(), c.result);
        EXPECT_TRUE(script.done());
        EXPECT_EQ(picker.selected(), c.selected);
        EXPECT_EQ(shownChoice, QStringLiteral("选择[%1]项").arg(c.start));
    }
}

namespace {

class InputXsxxTest : public ::testing::Test {
protected:
    InputXsxxTest() : host(new StoreFixture)
    {
        s.HostObject.reset(host);
        host->release();
        s.Dybm = QStringLiteral("0101");
        s.Dwlx = QStringLiteral("02");
    }

    // Types `keys` into a fresh dialog; returns its result.
    int Run(const QString& keys, bool warehouse = false)
    {
        TfrmInputXsxx dialog(nullptr, s);
        dialog.setWarehouseEnabled(warehouse);
        ModalScript script(keys, [&](QWidget* w) { firstFocus = w->focusWidget(); });
        const int result = dialog.exec();
        EXPECT_TRUE(script.done());
        firstFocusName = firstFocus ? firstFocus->objectName() : QString();
        counterText = dialog.counterCode()->text();
        salespersonText = dialog.salespersonCode()->text();
        return result;
    }

    SaleSession s;
    StoreFixture* host;
    QPointer<QWidget> firstFocus;
    QString firstFocusName, counterText, salespersonText;
};

} // namespace

TEST_F(InputXsxxTest, SalespersonConfirmsOnAStoreAndCounterGroupIsNotOffered)
{
    EXPECT_EQ(Run(QStringLiteral("2001<Enter><Enter>")), TfrmInputXsxx::Confirmed);
    EXPECT_EQ(firstFocusName, QStringLiteral("edtYyybm"));
    EXPECT_EQ(s.Yyybm, QStringLiteral("2001"));
    EXPECT_EQ(s.Yyymc, QStringLiteral("李四"));
    EXPECT_TRUE(s.Gzbm.isEmpty());
}

TEST_F(InputXsxxTest, CodeBoxesTakeDigitsOnly)
{
    s.Dwlx = QStringLiteral("10"); // a chain mall chooses its counter group
    EXPECT_EQ(Run(QStringLiteral("0a1.0-101x<Esc>")), TfrmInputXsxx::Exit);
    EXPECT_EQ(firstFocusName, QStringLiteral("edtGzbm"));
    EXPECT_EQ(counterText, QStringLiteral("010101"));
    EXPECT_TRUE(s.Gzbm.isEmpty()); // Esc takes nothing typed

    s.Dwlx = QStringLiteral("02");
    EXPECT_EQ(Run(QStringLiteral("2b0.0c1<Enter><Enter>")), TfrmInputXsxx::Confirmed);
    EXPECT_EQ(s.Yyybm, QStringLiteral("2001"));
}

TEST_F(InputXsxxTest, CounterGroupThenSalespersonThenWarehouse)
{
    s.Dwlx = QStringLiteral("10");
    EXPECT_EQ(Run(QStringLiteral("010101<Enter><Enter>2001<Enter><Enter>01<Enter><Enter>"), true),
              TfrmInputXsxx::Confirmed);
    EXPECT_EQ(s.Gzbm, QStringLiteral("010101"));
    EXPECT_EQ(s.Gzmc, QStringLiteral("彩电柜"));
    EXPECT_EQ(s.Yyymc, QStringLiteral("李四"));
    EXPECT_EQ(s.Ckbm, QStringLiteral("01"));
    EXPECT_EQ(s.Ckmc, QStringLiteral("中心一库"));
}

TEST_F(InputXsxxTest, UnknownCodesAreRefusedAndTheCursorStays)
{
    s.Dwlx = QStringLiteral("10");
    // The unknown counter group is told in a box closed with Enter; the
    // unknown salesperson is silently kept out.
    EXPECT_EQ(Run(QStringLiteral(
                  "999<Enter><Enter><Backspace><Backspace><Backspace>010101<Enter><Enter>9999<Enter><F1>")),
              TfrmInputXsxx::PreviousStep);
    EXPECT_EQ(s.Gzbm, QStringLiteral("010101"));
    EXPECT_TRUE(s.Yyybm.isEmpty());
    EXPECT_TRUE(s.Yyymc.isEmpty());
}

TEST_F(InputXsxxTest, F1AndEscEndTheDialogFromAnyBox)
{
    EXPECT_EQ(Run(QStringLiteral("20<F1>")), TfrmInputXsxx::PreviousStep);
    EXPECT_EQ(Run(QStringLiteral("<Esc>")), TfrmInputXsxx::Exit);
    // The warehouse box cannot be reached without a warehouse row.
    EXPECT_EQ(Run(QStringLiteral("2001<Enter><Enter>")), TfrmInputXsxx::Confirmed);
    EXPECT_TRUE(s.Ckbm.isEmpty());
}

namespace {

// The messages of the information boxes shown while it lives.
class ToldMessages : public QObject {
public:
    ToldMessages() { qApp->installEventFilter(this); }
    ~ToldMessages() override { qApp->removeEventFilter(this); }
    QStringList messages;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            if (auto* box = qobject_cast<TfrmInfo*>(watched))
                messages.append(box->message());
        return false;
    }
};

} // namespace

// Tab moves on as Enter does, through the same checks; Shift+Tab goes back
// one box and never round to the last one.
TEST_F(InputXsxxTest, TabMovesOnThroughTheChecksOfEnter)
{
    s.Dwlx = QStringLiteral("11");
    const struct {
        const char* keys;
        bool warehouse;
        int result;
        const char* gzbm;
        const char* yyybm;
        const char* told;
    } cases[] = {
        {"<Tab><Enter><Esc>", false, TfrmInputXsxx::Exit, "", "", "连锁商场模式下，必须输入柜组编码"},
        {"999<Tab><Enter><Esc>", false, TfrmInputXsxx::Exit, "", "", "该柜组信息不存在"},
        {"010101<Tab><Tab>2001<Tab><F1>", false, TfrmInputXsxx::PreviousStep, "010101", "2001", ""},
        {"<Shift+Tab><Enter><Enter><Esc>", true, TfrmInputXsxx::Exit, "", "",
         "连锁商场模式下，必须输入柜组编码"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        s.Gzbm.clear();
        s.Gzmc.clear();
        s.Yyybm.clear();
        s.Yyymc.clear();
        ToldMessages told;
        EXPECT_EQ(Run(QString::fromUtf8(c.keys), c.warehouse), c.result);
        EXPECT_EQ(s.Gzbm, QString::fromUtf8(c.gzbm));
        EXPECT_EQ(s.Yyybm, QString::fromUtf8(c.yyybm));
        EXPECT_EQ(told.messages.join('|'), QString::fromUtf8(c.told));
    }
}

// Pasted text keeps to the code boxes' digits as typed keys do; the
// warehouse code box takes any text.
TEST_F(InputXsxxTest, PastedTextKeepsToTheCodeBoxesDigits)
{
    s.Dwlx = QStringLiteral("10");
    QGuiApplication::clipboard()->setText(QStringLiteral("01a"));
    EXPECT_EQ(Run(QStringLiteral("<Ctrl+V>0101<Ctrl+V>01<Esc>")), TfrmInputXsxx::Exit);
    EXPECT_EQ(counterText, QStringLiteral("010101"));

    s.Dwlx = QStringLiteral("02");
    QGuiApplication::clipboard()->setText(QStringLiteral("2.0"));
    EXPECT_EQ(Run(QStringLiteral("<Ctrl+V>2001<Enter><Enter>")), TfrmInputXsxx::Confirmed);
    EXPECT_EQ(s.Yyybm, QStringLiteral("2001"));
}
