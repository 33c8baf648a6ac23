// The sales screen through qiantai-host on a fresh demo store.
#include "e2estore.h"
#include "salekeys.h"

#include <QFile>
#include <QMap>
#include <QRegularExpression>

#include <gtest/gtest.h>

using qiantai::test::E2EStore;
using qiantai::test::HostRun;
using qiantai::test::ScreenDump;

namespace {

QStringList Line(const QStringList& row)
{
    // Code, name, quantity, price, amount.
    return row.size() < 8 ? row : QStringList{row[0], row[1], row[3], row[4], row[6]};
}

// Types `keys` as cashier 0001, each "<dump NAME>" into a file of the
// store's folder, and gives the screens dumped by name. The script leaves
// the module.
QMap<QString, ScreenDump> RunCashier(E2EStore& store, QString keys)
{
    static const QRegularExpression dump(QStringLiteral("<dump (\\w+)>"));
    QStringList names;
    for (const QRegularExpressionMatch& m : dump.globalMatch(keys))
        names << m.captured(1);
    for (const QString& name : names)
        keys.replace(QStringLiteral("<dump %1>").arg(name),
                     QStringLiteral("<dump %1>").arg(store.Path(name + QStringLiteral(".txt"))));
    const HostRun run = store.RunHost(QStringLiteral("0001"), QStringLiteral("0001"), keys);
    EXPECT_EQ(run.status, 0) << run.output.toStdString();
    QMap<QString, ScreenDump> screens;
    for (const QString& name : names)
        screens.insert(name, ScreenDump::Read(store.Path(name + QStringLiteral(".txt"))));
    return screens;
}

} // namespace

TEST(SalesScreenEndToEnd, ThreeLinesOneDeletedLeaveTheirTotals)
{
    E2EStore store;
    ASSERT_TRUE(store.Ok()) << store.Error().toStdString();
    const QString before = store.Path(QStringLiteral("before.txt"));
    const QString after = store.Path(QStringLiteral("after.txt"));
    const QString keys =
        qiantai::test::BeginSale() +
        // A bar code two products share: the pick list, the second of them.
        QStringLiteral("6901234567892<Enter><waitfor frmSelectSp><Down><Enter><wait 100>"
                       "<Enter><Enter><Enter><waitfor lblje 219.00>\n"
                       // Whole quantities only: 2 units.
                       "100001<Enter><waitfor edtBm 100001>2<Enter><Enter><Enter><waitfor lblje 6217.00>\n"
                       // Amount-controlled: the amount is typed.
                       "100002<Enter><waitfor edtBm 100002><Enter><Enter>150<Enter><waitfor lblje 6367.00>\n"
                       "<dump %1>\n"
                       // The first line goes.
                       "<Up><Up><Up><waitfor edtBm 100004><F4><waitfor frmInfo><Enter><waitfor lblje 6148.00>"
                       "<wait 100><dump %2>\n")
            .arg(before, after) +
        qiantai::test::DeleteAllAndLeave();
    const HostRun run = store.RunHost(QStringLiteral("0001"), QStringLiteral("0001"), keys);
    EXPECT_EQ(run.status, 0) << run.output.toStdString();

    const ScreenDump three = ScreenDump::Read(before);
    ASSERT_FALSE(three.IsEmpty());
    const QList<QStringList> rows = three.Rows(QStringLiteral("sgdGrid"));
    ASSERT_GE(rows.size(), 3);
    EXPECT_EQ(Line(rows[0]), (QStringList{"100004", "电热水壶", "1", "219.00", "219.00"}));
    EXPECT_EQ(Line(rows[1]), (QStringList{"100001", "液晶平板电视", "2", "2999.00", "5998.00"}));
    EXPECT_EQ(Line(rows[2]).mid(0, 2), (QStringList{"100002", "上门安装服务"}));
    EXPECT_EQ(Line(rows[2]).last(), QStringLiteral("150.00"));
    EXPECT_EQ(three.Label(QStringLiteral("lbljs")).trimmed(), QStringLiteral("4"));
    EXPECT_EQ(three.Label(QStringLiteral("lblje")), QStringLiteral("6367.00"));

    const ScreenDump two = ScreenDump::Read(after);
    ASSERT_FALSE(two.IsEmpty());
    const QList<QStringList> left = two.Rows(QStringLiteral("sgdGrid"));
    ASSERT_GE(left.size(), 2);
    EXPECT_EQ(Line(left[0]).first(), QStringLiteral("100001"));
    EXPECT_EQ(Line(left[1]).first(), QStringLiteral("100002"));
    EXPECT_EQ(two.Label(QStringLiteral("lbljs")).trimmed(), QStringLiteral("3"));
    EXPECT_EQ(two.Label(QStringLiteral("lblje")), QStringLiteral("6148.00"));
    EXPECT_EQ(two.Label(QStringLiteral("lblDjh")), QStringLiteral("单据号:0000000001"));
}

TEST(SalesScreenEndToEnd, HostExitStatusTellsHowTheScriptEnded)
{
    E2EStore store;
    ASSERT_TRUE(store.Ok()) << store.Error().toStdString();
    // A wrong password opens nothing.
    HostRun run = store.RunHost(QStringLiteral("0001"), QStringLiteral("9999"), QStringLiteral("<Enter>"));
    EXPECT_EQ(run.status, 1) << run.output.toStdString();
    // The script ends with the sales screen still open.
    run = store.RunHost(QStringLiteral("0001"), QStringLiteral("0001"), qiantai::test::BeginSale());
    EXPECT_EQ(run.status, 3) << run.output.toStdString();
    EXPECT_TRUE(run.output.contains(QStringLiteral("still open"))) << run.output.toStdString();
    // A token the robot does not know.
    run = store.RunHost(QStringLiteral("0001"), QStringLiteral("0001"), QStringLiteral("<NoSuchKey>"));
    EXPECT_EQ(run.status, 2) << run.output.toStdString();
}

// A function key while a cell editor holds typed text: the key's dialog takes
// the focus, the editor goes, and what it held is not entered.
TEST(SalesScreenEndToEnd, FunctionKeyFromAnOpenCellEditorDropsItsText)
{
    E2EStore store;
    ASSERT_TRUE(store.Ok()) << store.Error().toStdString();
    const struct {
        const char* key;
        const char* opens;  // the dialog it opens
        const char* answer; // closes it, keeping the line
    } cases[] = {{"<F5>", "frmInfo", "<Esc>"},
                 {"<F4>", "frmInfo", "<Esc>"},
                 {"<Esc>", "frmInfo", "<Enter>"},
                 {"<F3>", "frmSgzk", "<Esc>"},
                 {"<F10>", "frmSysTool", "<Esc>"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        const QString dump = store.Path(QStringLiteral("editor.txt"));
        QFile::remove(dump);
        const QString keys =
            qiantai::test::BeginSale() +
            QStringLiteral("100001<Enter><waitfor edtBm 100001>3%1<waitfor %2>%3<wait 200><dump %4>\n")
                .arg(QString::fromUtf8(c.key), QString::fromUtf8(c.opens), QString::fromUtf8(c.answer),
                     dump) +
            qiantai::test::DeleteAllAndLeave();
        const HostRun run = store.RunHost(QStringLiteral("0001"), QStringLiteral("0001"), keys);
        EXPECT_EQ(run.status, 0) << run.output.toStdString();
        const QList<QStringList> rows = ScreenDump::Read(dump).Rows(QStringLiteral("sgdGrid"));
        ASSERT_FALSE(rows.isEmpty());
        EXPECT_EQ(Line(rows[0]), (QStringList{"100001", "液晶平板电视", "1", "2999.00", "2999.00"}));
    }
}

// 100005 is offered at 899.00 instead of 999.00 for 3 units. Every
// reservation stays with its line when the lines above it go, and units
// beyond the offer sell at the list price.
TEST(SalesScreenEndToEnd, DeletedLinesTakeTheirReservationsAndUnitsBeyondAnOfferSellAtTheListPrice)
{
    E2EStore store;
    ASSERT_TRUE(store.Ok()) << store.Error().toStdString();
    const QMap<QString, ScreenDump> screens = RunCashier(
        store, qiantai::test::BeginSale() +
                   QStringLiteral(
                       // Line 1 goes, then the offer line that moved up into its place.
                       "100001<Enter><waitfor edtBm 100001><Enter><Enter><Enter><waitfor lblje 2999.00>\n"
                       "100005<Enter><waitfor edtBm 100005><Up><F4><waitfor frmInfo><Enter><wait 100>"
                       "<F4><waitfor frmInfo><Enter><wait 100>\n"
                       // Five units: the host's refusal is told and the list price
                       // taken; then a price of its own, then a quantity the offer
                       // covers.
                       "100005<Enter><waitfor edtBm 100005>5<Enter><waitfor message "
                       "限时限量商品100005剩余3件，本次需要5>"
                       "<dump told><Enter><waitfor lblje 4995.00><dump beyond>\n"
                       // The grid has the keyboard back once the box has gone.
                       "<wait 200>950<Enter><waitfor lblje 4750.00><dump typed>"
                       "<Left><Left><Left>3<Enter><waitfor lblje 2697.00><dump back>\n"
                       "<F4><waitfor frmInfo><Enter><wait 100><Esc><waitfor frmInfo><Enter>\n"));

    EXPECT_EQ(store.Query(QStringLiteral("SELECT COUNT(*) FROM tbXsxlqK")), (QList<QStringList>{{"0"}}));
    EXPECT_EQ(screens["told"].Label(QStringLiteral("message")),
              QStringLiteral("限时限量商品100005剩余3件，本次需要5"));
    const auto offerLine = [&](const char* dump) {
        const QList<QStringList> rows = screens[dump].Rows(QStringLiteral("sgdGrid"));
        return rows.isEmpty() ? QStringList() : Line(rows[0]);
    };
    EXPECT_EQ(offerLine("beyond"), (QStringList{"100005", "微波炉", "5", "999.00", "4995.00"}));
    EXPECT_EQ(offerLine("typed"), (QStringList{"100005", "微波炉", "5", "950.00", "4750.00"}));
    EXPECT_EQ(offerLine("back"), (QStringList{"100005", "微波炉", "3", "899.00", "2697.00"}));
}

// One Enter more after an amount leaves the next line as it is; pasted text
// keeps to the cells' digits; Tab in the sales information moves on through
// the checks of Enter.
TEST(SalesScreenEndToEnd, ExtraEnterKeepsTheNextLinePasteKeepsToDigitsAndTabChecksTheCounterGroup)
{
    E2EStore store;
    ASSERT_TRUE(store.Ok()) << store.Error().toStdString();
    QMap<QString, ScreenDump> screens = RunCashier(
        store,
        qiantai::test::BeginSale() +
            QStringLiteral(
                "100003<Enter><waitfor edtBm 100003><Enter><Enter><Enter><waitfor lblje 199.00>\n"
                "100001<Enter><waitfor edtBm 100001>2<Enter><Enter>5800<Enter><waitfor lblje 5999.00>\n"
                // Line 1's amount confirmed, then Enter on line 2's code;
                // nothing is to change, so nothing shows when they are done.
                "<Up><Up><Enter><Enter><Enter><wait 100><Enter><wait 100><dump after>\n"
                // "1.5" copied from the price cell, pasted into the whole
                // quantity and a code cell: both keep their digits.
                "<Right>1.5<Ctrl+A><Ctrl+C>2900<Left>3<Ctrl+V><F2><Enter><waitfor lblje 8899.00>\n"
                "<Down><Left><Left><Left><Left>1<Ctrl+V>00004<Enter><waitfor edtBm 100004><dump pasted>\n"
                // The next document's sales information, with Tab.
                "<F5><waitfor frmInfo><Enter><wait 100><F6><waitfor frmSelect><Enter><waitfor frmInputXsxx>\n"
                "<Tab><waitfor message 连锁商场模式下，必须输入柜组编码><dump tab>"
                "<Enter><waitfor frmInputXsxx>0101<Tab><Tab>1001<Tab><Tab><wait 200><dump tabbed>\n"
                "<Esc><waitfor frmInfo><Enter>\n"));

    const ScreenDump& after = screens["after"];
    const QList<QStringList> rows = after.Rows(QStringLiteral("sgdGrid"));
    ASSERT_GE(rows.size(), 2);
    EXPECT_EQ(Line(rows[1]), (QStringList{"100001", "液晶平板电视", "2", "2900.00", "5800.00"}));
    EXPECT_EQ(after.Label(QStringLiteral("lblje")), QStringLiteral("5999.00"));

    const QList<QStringList> pasted = screens["pasted"].Rows(QStringLiteral("sgdGrid"));
    ASSERT_GE(pasted.size(), 3);
    EXPECT_EQ(Line(pasted[1]), (QStringList{"100001", "液晶平板电视", "3", "2900.00", "8700.00"}));
    EXPECT_EQ(Line(pasted[2]).first(), QStringLiteral("100004"));

    EXPECT_EQ(screens["tab"].Label(QStringLiteral("message")),
              QStringLiteral("连锁商场模式下，必须输入柜组编码"));
    const ScreenDump& next = screens["tabbed"];
    EXPECT_NE(next.Label(QStringLiteral("lblDjh")), after.Label(QStringLiteral("lblDjh")));
    EXPECT_TRUE(next.Label(QStringLiteral("lblTitle2")).startsWith(QStringLiteral("柜组：彩电柜")))
        << next.Label(QStringLiteral("lblTitle2")).toStdString();
}
