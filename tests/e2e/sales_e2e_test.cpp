// The sales screen through qiantai-host on a fresh demo store.
#include "e2estore.h"
#include "salekeys.h"

#include <QFile>

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

} // namespace

TEST(SalesScreenEndToEnd, ThreeLinesOneDeletedLeaveTheirTotals)
{
    E2EStore store;
    ASSERT_TRUE(store.Ok()) << store.Error().toStdString();
    const QString before = store.Path(QStringLiteral("before.txt"));
    const QString after = store.Path(QStringLiteral("after.txt"));
    const QString keys = qiantai::test::BeginSale() +
                         // A bar code two products share: the pick list, the second of them.
                         QStringLiteral("6901234567892<Enter><wait 200><Down><Enter><wait 100>"
                                        "<Enter><Enter><Enter><wait 100>\n"
                                        // Whole quantities only: 2 units.
                                        "100001<Enter><wait 100>2<Enter><Enter><Enter><wait 100>\n"
                                        // Amount-controlled: the amount is typed.
                                        "100002<Enter><wait 100><Enter><Enter>150<Enter><wait 100>\n"
                                        "<dump %1>\n"
                                        // The first line goes.
                                        "<Up><Up><Up><wait 100><F4><wait 100><Enter><wait 100><dump %2>\n")
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
        const char* answer; // closes what the key opened, keeping the line
    } cases[] = {
        {"<F5>", "<Esc>"}, {"<F4>", "<Esc>"}, {"<Esc>", "<Enter>"}, {"<F3>", "<Esc>"}, {"<F10>", "<Esc>"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        const QString dump = store.Path(QStringLiteral("editor.txt"));
        QFile::remove(dump);
        const QString keys = qiantai::test::BeginSale() +
                             QStringLiteral("100001<Enter><wait 100>3%1<wait 200>%2<wait 200><dump %3>\n")
                                 .arg(QString::fromUtf8(c.key), QString::fromUtf8(c.answer), dump) +
                             qiantai::test::DeleteAllAndLeave();
        const HostRun run = store.RunHost(QStringLiteral("0001"), QStringLiteral("0001"), keys);
        EXPECT_EQ(run.status, 0) << run.output.toStdString();
        const QList<QStringList> rows = ScreenDump::Read(dump).Rows(QStringLiteral("sgdGrid"));
        ASSERT_FALSE(rows.isEmpty());
        EXPECT_EQ(Line(rows[0]), (QStringList{"100001", "液晶平板电视", "1", "2999.00", "2999.00"}));
    }
}
