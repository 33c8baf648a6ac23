#include "screens/sales/salegrid.h"

#include "fakehost.h"
#include "fakeprompts.h"
#include "modalscript.h"
#include "productstore.h"
#include "sale/salesession.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace qiantai;
using qiantai::test::FakeHost;
using qiantai::test::FakePrompts;
using qiantai::test::ProductStore;

namespace {

// The window the grid sits in; remembers the keys the grid passed on.
class Screen : public QWidget {
public:
    QList<int> passedKeys;

protected:
    void keyPressEvent(QKeyEvent* e) override { passedKeys.append(e->key()); }
};

class SaleGridTest : public ::testing::Test {
protected:
    SaleGridTest()
    {
        ResetSessionState(Session());
        SaleSession& s = Session();
        s.HostObject = CoorDispRef(fake);
        fake->release();
        s.Dwlx = QStringLiteral("11");
        s.Gzbm = QStringLiteral("010102");
        s.Dqny = QStringLiteral("202406");
        s.Djh = QStringLiteral("0000000123");
        store.products["100001"] = {ProductStore::Product("100001", "空调", 12.50)};
        store.products["100002"] = {ProductStore::Product("100002", "冰箱", 2999, 17, 1)};
        store.products["100003"] = {ProductStore::Product("100003", "电视", 1999)};
        store.products["100009"] = {ProductStore::Product("100009", "洗衣机", 999)};

        screen.resize(900, 400);
        grid = new TSaleGrid(&screen);
        grid->setGeometry(0, 0, 900, 400);
        grid->SetColumnWidthsFor(900);
        grid->SetPrompts(&prompts);
        screen.show();
        QApplication::setActiveWindow(&screen);
        grid->ResetRows();
    }
    ~SaleGridTest() override
    {
        Session().SaleLines.Clear();
        Session().HostObject = CoorDispRef();
    }

    // Keys go where the cashier's would: to the focused widget.
    QWidget* target() const
    {
        QWidget* w = QApplication::focusWidget();
        return w != nullptr ? w : grid;
    }
    void type(const QString& text)
    {
        for (QChar c : text)
            QTest::keyClick(target(), c.toLatin1());
    }
    void key(Qt::Key k) { QTest::keyClick(target(), k); }
    void enterLine(const QString& code)
    {
        type(code);
        key(Qt::Key_Return);
    }
    // A line entered and its quantity, price and amount confirmed as they
    // are: the cursor goes on to the next entry row.
    void enterConfirmedLine(const QString& code)
    {
        enterLine(code);
        key(Qt::Key_Return);
        key(Qt::Key_Return);
        key(Qt::Key_Return);
    }
    bool editing() const { return qobject_cast<QLineEdit*>(QApplication::focusWidget()) != nullptr; }
    std::pair<int, int> cursor() const { return {grid->CurrentRow(), grid->CurrentCol()}; }
    const TSaleRecords& lines() const { return Session().SaleLines; }

    FakeHost* fake = new FakeHost;
    ProductStore store{*fake};
    FakePrompts prompts;
    Screen screen;
    TSaleGrid* grid = nullptr;
};

using Cell = std::pair<int, int>;

} // namespace

TEST_F(SaleGridTest, StartsWithHeaderAndOneEmptyEntryRow)
{
    EXPECT_EQ(grid->GridRowCount(), 2);
    EXPECT_EQ(cursor(), Cell(1, 0));
    EXPECT_FALSE(grid->CurrentRowHasLine());
    EXPECT_TRUE(grid->hasFocus());
    EXPECT_EQ(grid->rowHeight(0), 21);
    EXPECT_EQ(grid->horizontalHeader()->height(), 21);
    EXPECT_TRUE(grid->isColumnHidden(7));
    EXPECT_EQ(grid->model()->headerData(3, Qt::Horizontal).toString(), QString::fromUtf8("数量"));
}

TEST_F(SaleGridTest, TypedCharacterOpensTheEditorReplacingTheTextAndDropsWhatTheCellRefuses)
{
    type("1a0.");
    EXPECT_TRUE(editing());
    key(Qt::Key_Right); // leaving the entry row clears it
    EXPECT_FALSE(editing());
    EXPECT_EQ(cursor(), Cell(1, 1));
    EXPECT_EQ(grid->CellText(1, 0), QString());

    key(Qt::Key_Left);
    type("x");
    EXPECT_FALSE(editing()) << "a letter opens no code editor";
    type("100001");
    key(Qt::Key_Return);
    ASSERT_EQ(lines().Count(), 1);
    EXPECT_EQ(cursor(), Cell(1, 3));

    type("7"); // replaces "1.00"
    EXPECT_TRUE(editing());
    key(Qt::Key_Return);
    EXPECT_EQ(cursor(), Cell(1, 4));
    EXPECT_EQ(lines()[0].Quantity, 7);
    EXPECT_EQ(grid->CellText(1, 3), "7.00");
    EXPECT_EQ(grid->CellText(1, 6), "87.50");
}

TEST_F(SaleGridTest, CodeEnterQuantityPriceAmountRhythmAddsTheNextEntryRow)
{
    QSignalSpy changed(grid, &TSaleGrid::LinesChanged);
    QSignalSpy shown(grid, &TSaleGrid::CurrentLineShown);
    enterLine("100001");
    EXPECT_GE(changed.count(), 1);
    ASSERT_GE(shown.count(), 1);
    EXPECT_EQ(shown.last().at(0).toInt(), 1);
    EXPECT_TRUE(grid->CurrentRowHasLine());
    EXPECT_EQ(grid->CellText(1, 0), "100001");
    EXPECT_EQ(grid->CellText(1, 1), QString::fromUtf8("空调"));
    EXPECT_EQ(grid->CellText(1, 2), "KFR-35");
    EXPECT_EQ(grid->CellText(1, 3), "1.00");

    type("3");
    key(Qt::Key_Return); // quantity -> price
    key(Qt::Key_Return); // price -> amount
    EXPECT_EQ(cursor(), Cell(1, 6));
    type("30");
    key(Qt::Key_Return); // amount confirmed
    EXPECT_EQ(grid->GridRowCount(), 3);
    EXPECT_EQ(cursor(), Cell(2, 0));
    EXPECT_FALSE(grid->CurrentRowHasLine());

    const TSaleRecord& l = lines()[0];
    EXPECT_EQ(l.AutoDiscount, 0);
    EXPECT_DOUBLE_EQ(l.UnitPrice, 10);
    EXPECT_DOUBLE_EQ(l.ManualDiscount, 7.5);
    EXPECT_EQ(grid->CellText(1, 4), "10.00");
    EXPECT_EQ(grid->CellText(1, 5), "7.50");
    EXPECT_EQ(grid->CellText(1, 6), "30.00");

    // Enter on the amount of the trailing entry row does nothing.
    key(Qt::Key_Right);
    EXPECT_EQ(cursor(), Cell(2, 1));
    grid->SetCursor(2, 6);
    key(Qt::Key_Return);
    EXPECT_EQ(grid->GridRowCount(), 3);
    EXPECT_EQ(cursor(), Cell(2, 6));
}

TEST_F(SaleGridTest, WholeQuantityLineTakesDigitsOnly)
{
    enterLine("100002");
    ASSERT_EQ(lines().Count(), 1);
    EXPECT_EQ(grid->CellText(1, 3), "1");
    type(".");
    EXPECT_FALSE(editing());
    type("2.5");
    key(Qt::Key_Return);
    EXPECT_EQ(lines()[0].Quantity, 25);
    EXPECT_EQ(grid->CellText(1, 3), "25");
    EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(SaleGridTest, CellThatIsNotANumberReportsTheConversionAndKeepsCursorTextAndLine)
{
    enterLine("100001");
    type("2x");
    key(Qt::Key_Return);
    EXPECT_EQ(prompts.texts(), QStringList{QString::fromUtf8("“2x”不是有效的数字")});
    EXPECT_EQ(prompts.messages[0].caption, QString::fromUtf8("错误提示"));
    EXPECT_EQ(cursor(), Cell(1, 3));
    EXPECT_EQ(grid->CellText(1, 3), "2x");
    EXPECT_EQ(lines()[0].Quantity, 1);

    // Fixed and moved on.
    key(Qt::Key_Backspace);
    type("2");
    key(Qt::Key_Right);
    EXPECT_EQ(cursor(), Cell(1, 4));
    EXPECT_EQ(lines()[0].Quantity, 2);

    // The amount cell: checked on Enter, the cursor stays.
    grid->SetCursor(1, 6);
    type("1..");
    key(Qt::Key_Return);
    EXPECT_EQ(prompts.messages.size(), 2);
    EXPECT_EQ(cursor(), Cell(1, 6));
    EXPECT_EQ(grid->GridRowCount(), 2);
}

TEST_F(SaleGridTest, RefusedStockBringsTheOldQuantityBackAndKeepsTheCursor)
{
    enterLine("100001");
    store.stockAccepts = false;
    type("9");
    key(Qt::Key_Return);
    EXPECT_EQ(prompts.texts(), QStringList{QString::fromUtf8("库存不足")});
    EXPECT_EQ(cursor(), Cell(1, 3));
    EXPECT_EQ(grid->CellText(1, 3), "1.00");
    EXPECT_EQ(lines()[0].Quantity, 1);
}

TEST_F(SaleGridTest, RefusedProductLeavesTheEntryRowEmptyWithTheCursorOnItsCode)
{
    store.departmentAllows = false;
    enterLine("100001");
    EXPECT_EQ(prompts.texts(), QStringList{QString::fromUtf8("部门商品对照不存在!")});
    EXPECT_TRUE(lines().IsEmpty());
    EXPECT_EQ(grid->GridRowCount(), 2);
    EXPECT_EQ(cursor(), Cell(1, 0));
    EXPECT_EQ(grid->CellText(1, 0), QString());

    // An unknown code changes nothing: the code stays for the cashier.
    enterLine("999");
    EXPECT_EQ(grid->CellText(1, 0), "999");
    EXPECT_EQ(cursor(), Cell(1, 0));
}

TEST_F(SaleGridTest, ArrowsMoveAsTheGridRulesSay)
{
    for (const char* code : {"100001", "100003", "100009"})
        enterConfirmedLine(code);
    ASSERT_EQ(lines().Count(), 3);
    ASSERT_EQ(grid->GridRowCount(), 5);

    grid->SetCursor(3, 5);
    key(Qt::Key_Up);
    EXPECT_EQ(cursor(), Cell(2, 3));
    key(Qt::Key_Down);
    EXPECT_EQ(cursor(), Cell(3, 3));
    key(Qt::Key_Left);
    key(Qt::Key_Left);
    key(Qt::Key_Left);
    EXPECT_EQ(cursor(), Cell(3, 1)) << "column 0 is skipped on a line row";
    key(Qt::Key_Right);
    EXPECT_EQ(cursor(), Cell(3, 2));
    grid->SetCursor(3, 6);
    key(Qt::Key_Right);
    EXPECT_EQ(cursor(), Cell(3, 6));
    grid->SetCursor(4, 1);
    key(Qt::Key_Left);
    EXPECT_EQ(cursor(), Cell(4, 0)) << "the entry row's code cell is free";
    // Up from the first line row stays, the header is no row to go to.
    grid->SetCursor(1, 4);
    key(Qt::Key_Up);
    EXPECT_EQ(cursor(), Cell(1, 4));
}

// Amount confirmation puts the cursor on the next row's code; when that row
// holds a line already, one Enter more must not touch it.
TEST_F(SaleGridTest, EnterOnTheCodeOfALineRowGoesToItsQuantityAndChangesNothing)
{
    enterConfirmedLine("100001");
    enterLine("100003");
    type("2");
    key(Qt::Key_Return);
    key(Qt::Key_Return);
    type("3500");
    key(Qt::Key_Return);
    ASSERT_EQ(lines().Count(), 2);
    ASSERT_DOUBLE_EQ(lines()[1].ManualDiscount, 498);

    grid->SetCursor(1, 6);
    key(Qt::Key_Return); // amount of line 1 confirmed: cursor on line 2's code
    ASSERT_EQ(cursor(), Cell(2, 0));
    fake->clearLog();
    key(Qt::Key_Return);
    EXPECT_EQ(cursor(), Cell(2, 3));
    EXPECT_TRUE(fake->calls().isEmpty());
    EXPECT_EQ(lines()[1].Quantity, 2);
    EXPECT_DOUBLE_EQ(lines()[1].ManualDiscount, 498);
    EXPECT_EQ(grid->CellText(2, 3), "2.00");
    EXPECT_EQ(grid->CellText(2, 6), "3500.00");
}

// An offer line whose new quantity the offer does not cover is sold at the
// list price, and its price and amount can be typed again.
TEST_F(SaleGridTest, OfferLineBeyondItsOfferTakesTypedPriceAgain)
{
    store.offers["0"] = {899.0, 100.0};
    enterLine("100009");
    ASSERT_EQ(lines()[0].LimitedOffer, 1);
    store.offers.remove("0");
    type("5");
    key(Qt::Key_Return);
    EXPECT_EQ(prompts.texts(), QStringList{"no offer"});
    EXPECT_EQ(cursor(), Cell(1, 4));
    EXPECT_EQ(grid->CellText(1, 7), QString());
    EXPECT_EQ(grid->CellText(1, 4), "999.00");
    EXPECT_EQ(grid->CellText(1, 6), "4995.00");
    type("950");
    EXPECT_TRUE(editing());
    key(Qt::Key_Return);
    EXPECT_EQ(grid->CellText(1, 6), "4750.00");
}

// Pasted text keeps to the cell's rule as typed keys do, by Ctrl+V and by
// the editor's own paste (its context menu).
TEST_F(SaleGridTest, PastedTextKeepsToTheCellsRule)
{
    enterConfirmedLine("100001");
    enterConfirmedLine("100002"); // whole quantities only
    ASSERT_EQ(grid->GridRowCount(), 4);
    const struct {
        Cell cell;
        const char* typed;
        const char* pasted;
        const char* result;
    } cases[] = {
        {{3, 0}, "1", "1.5", "1"},  {{3, 0}, "1", "a2", "1"}, {{3, 0}, "1", "00001", "100001"},
        {{2, 3}, "2", "1.5", "2"},  {{2, 3}, "2", "5", "25"}, {{1, 4}, "1", "-5", "1"},
        {{1, 4}, "1", ".5", "1.5"}, {{1, 6}, "1", "2a", "1"}, {{1, 3}, "1", "a", "1a"},
    };
    for (bool byKeys : {true, false})
        for (const auto& c : cases) {
            SCOPED_TRACE(QStringLiteral("%1,%2 %3 %4")
                             .arg(c.cell.first)
                             .arg(c.cell.second)
                             .arg(QString::fromUtf8(c.pasted))
                             .arg(byKeys ? "Ctrl+V" : "paste()")
                             .toStdString());
            grid->SetCursor(c.cell.first, c.cell.second);
            type(QString::fromUtf8(c.typed));
            auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
            ASSERT_NE(editor, nullptr);
            QGuiApplication::clipboard()->setText(QString::fromUtf8(c.pasted));
            if (byKeys)
                QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
            else
                editor->paste();
            EXPECT_EQ(editor->text(), QString::fromUtf8(c.result));
            grid->CancelEditor();
        }
}

TEST_F(SaleGridTest, OfferRowIsGreenAndRefusesPriceAndAmount)
{
    store.offers["0"] = {899.0, 100.0};
    enterLine("100009");
    ASSERT_EQ(lines()[0].LimitedOffer, 1);
    EXPECT_EQ(grid->CellText(1, 7), "1");
    grid->SetCursor(1, 4);
    type("5");
    EXPECT_FALSE(editing());
    grid->SetCursor(1, 6);
    type("5");
    EXPECT_FALSE(editing());

    const QImage image = grid->grab().toImage();
    const QRect cell = grid->visualRect(grid->model()->index(0, 2));
    EXPECT_EQ(QColor(image.pixel(cell.center() + QPoint(0, grid->horizontalHeader()->height()))),
              QColor(0, 255, 0));
}

TEST_F(SaleGridTest, LineRowsArePaintedOnTheCellColour)
{
    enterLine("100001");
    const QImage image = grid->grab().toImage();
    const QRect cell = grid->visualRect(grid->model()->index(0, 2));
    EXPECT_EQ(QColor(image.pixel(cell.topLeft() + QPoint(1, 1 + grid->horizontalHeader()->height()))),
              QColor(198, 223, 247));
}

TEST_F(SaleGridTest, EscDropsTheTypingAndGoesOnToTheScreenAsDoFunctionKeys)
{
    enterLine("100001");
    type("5");
    ASSERT_TRUE(editing());
    key(Qt::Key_Escape);
    EXPECT_FALSE(editing());
    EXPECT_EQ(grid->CellText(1, 3), "1.00");
    key(Qt::Key_F4);
    EXPECT_EQ(screen.passedKeys, (QList<int>{Qt::Key_Escape, Qt::Key_F4}));
}

// Keys an open editor does not take (a modifier pressed alone, a function
// key the screen does not act on) come back up to the grid: they reach the
// screen once and leave the typing as it was.
TEST_F(SaleGridTest, KeysTheEditorDoesNotTakeReachTheScreenOnce)
{
    enterLine("100001");
    type("5");
    ASSERT_TRUE(editing());
    for (Qt::Key k : {Qt::Key_Control, Qt::Key_Shift, Qt::Key_F12})
        key(k);
    EXPECT_EQ(screen.passedKeys, (QList<int>{Qt::Key_Control, Qt::Key_Shift, Qt::Key_F12}));
    ASSERT_TRUE(editing());
    EXPECT_EQ(qobject_cast<QLineEdit*>(QApplication::focusWidget())->text(), "5");
    QTest::keyClick(grid, Qt::Key_F12);
    EXPECT_EQ(screen.passedKeys.size(), 4);
    key(Qt::Key_Return);
    EXPECT_EQ(lines()[0].Quantity, 5);
}

TEST_F(SaleGridTest, RemovingLineRowsAfterTheScreenDeletedTheLines)
{
    enterConfirmedLine("100001");
    enterLine("100003");
    ASSERT_EQ(grid->GridRowCount(), 3);

    grid->SetBusy(true);
    Session().SaleLines.Delete(0);
    grid->RemoveLineRow(1);
    grid->SetBusy(false);
    EXPECT_EQ(grid->GridRowCount(), 2);
    EXPECT_EQ(grid->CellText(1, 0), "100003");
    EXPECT_EQ(grid->CurrentRow(), 1);

    Session().SaleLines.Delete(0);
    grid->RemoveLineRow(1);
    EXPECT_EQ(grid->GridRowCount(), 2);
    EXPECT_FALSE(grid->CurrentRowHasLine());
    EXPECT_EQ(grid->CellText(1, 0), QString());
}

TEST_F(SaleGridTest, BusyGridLeavesCellsWithoutTakingThem)
{
    enterLine("100001");
    type("4");
    grid->SetBusy(true);
    grid->SetCursor(1, 4);
    grid->SetBusy(false);
    EXPECT_EQ(cursor(), Cell(1, 4));
    EXPECT_EQ(lines()[0].Quantity, 1);
    EXPECT_TRUE(fake->callsTo(qiantai::dispid::CheckStock).size() == 1); // the entry's own check only
}

TEST_F(SaleGridTest, RefreshShowsLinesChangedElsewhere)
{
    enterLine("100001");
    Session().SaleLines[0].ManualDiscount = 1.25;
    Session().SaleLines[0].NetAmount = 9.62;
    Session().SaleLines[0].TaxAmount = 1.63;
    grid->RefreshLines();
    EXPECT_EQ(grid->CellText(1, 5), "1.25");
    EXPECT_EQ(grid->CellText(1, 6), "11.25");
}

TEST_F(SaleGridTest, RealDialogsPickTheProductAndTellTheRefusal)
{
    grid->SetPrompts(nullptr); // the information box and the pick list
    store.products["6901"] = {ProductStore::Product("200001", "电视 A", 1999, 17, 0, 0, "6901"),
                              ProductStore::Product("200002", "电视 B", 2199, 17, 0, 0, "6901")};
    type("6901");
    {
        QStringList shown;
        qiantai::test::ModalScript pick("<Down><Enter>", [&](QWidget* modal) {
            if (auto* list = modal->findChild<QTableWidget*>())
                for (int r = 0; r < list->rowCount(); ++r)
                    shown.append(list->item(r, 0)->text());
        });
        key(Qt::Key_Return);
        EXPECT_TRUE(pick.done());
        EXPECT_EQ(shown, (QStringList{"200001", "200002"}));
    }
    ASSERT_EQ(lines().Count(), 1);
    EXPECT_EQ(lines()[0].ProductCode, "200002");
    EXPECT_EQ(grid->CellText(1, 1), QString::fromUtf8("电视 B"));

    key(Qt::Key_Return);
    key(Qt::Key_Return);
    key(Qt::Key_Return);
    store.departmentAllows = false;
    type("100001");
    {
        QString message;
        qiantai::test::ModalScript box("<Esc><Enter>", [&](QWidget* modal) {
            for (QLabel* label : modal->findChildren<QLabel*>())
                message += label->text() + "|";
        });
        key(Qt::Key_Return);
        EXPECT_TRUE(box.done());
        EXPECT_TRUE(message.contains(QString::fromUtf8("部门商品对照不存在!"))) << message.toStdString();
        EXPECT_TRUE(message.contains(QString::fromUtf8("错误提示"))) << message.toStdString();
    }
    EXPECT_EQ(lines().Count(), 1);
    EXPECT_EQ(cursor(), Cell(2, 0));
    EXPECT_EQ(grid->CellText(2, 0), QString());
}

TEST_F(SaleGridTest, KeysSentToTheGridWhileItsEditorIsOpenAreTypedIntoTheEditor)
{
    store.products["12"] = {ProductStore::Product("100012", "电扇", 99)};
    for (char c : {'1', 'a', '2'})
        QTest::keyClick(grid, c);
    QTest::keyClick(grid, Qt::Key_Return);
    ASSERT_EQ(lines().Count(), 1);
    EXPECT_EQ(lines()[0].ProductCode, "100012");
}
