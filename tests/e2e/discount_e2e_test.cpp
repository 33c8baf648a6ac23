// Whole-sale rate discounts through qiantai-host on a fresh demo store: the
// cashier 0001 holds neither 9907 nor 9912, so a discount that takes a line
// below its lowest price or its purchase price needs a supervisor at the till.
#include "e2estore.h"
#include "salekeys.h"

#include <gtest/gtest.h>

#include <vector>

using qiantai::test::E2EStore;
using qiantai::test::HostRun;
using qiantai::test::ScreenDump;

namespace {

// 100001 (list 2999.00, lowest 2700.00, cost 2200.00 + 17 % = 2574.00) and
// 100003 (list 199.00, lowest 169.00, cost 120.00 + 17 % = 140.40), one each.
const char* const TwoLines =
    "100001<Enter><waitfor edtBm 100001>1<Enter><Enter><Enter><waitfor lblje 2999.00>\n"
    "100003<Enter><waitfor edtBm 100003>1<Enter><Enter><Enter><waitfor lblje 3198.00>\n";
// F3, the second mode (whole sale by rate); the rate replaces the selected input.
const char* const WholeSaleRate = "<F3><waitfor frmSgzk><Down><Enter><waitfor frmZksz>%1<Enter>\n";

const QString BelowLowest = QStringLiteral("低于最低售价授权");
const QString BelowCost = QStringLiteral("低于进价授权");
const QString GrantError = QStringLiteral("授权时出错");

// Keys typed while the authorization (or a message) is up, then what the
// screen shows: a heading among the open dialogs and the information box's
// message (none when empty). The script waits for that message, else that
// heading.
struct Step {
    QString keys;
    QString heading;
    QString message;
};

// Code, discount, amount of a grid row.
struct Line {
    QString code;
    QString discount;
    QString amount;
};

struct DiscountCase {
    const char* name;
    QString rate;
    std::vector<Step> steps; // the first one's keys are typed into the first authorization
    std::vector<Line> lines; // after the last step
    QString total;
    QStringList grants; // rights the host noted supervisor 0002 granting, in order
};

const std::vector<Line> Unchanged = {
    {QStringLiteral("100001"), QStringLiteral("0.00"), QStringLiteral("2999.00")},
    {QStringLiteral("100003"), QStringLiteral("0.00"), QStringLiteral("199.00")}};

// Rate 88: S 3198.00, D 383.76, shares 359.88 and 23.88; 100001 comes to
// 2639.12, under its lowest price but above its cost; 100003 to 175.12.
const std::vector<Line> Rate88 = {
    {QStringLiteral("100001"), QStringLiteral("359.88"), QStringLiteral("2639.12")},
    {QStringLiteral("100003"), QStringLiteral("23.88"), QStringLiteral("175.12")}};

const QString Refused100001 = QStringLiteral("商品100001折扣以后的实际售价不能小于最低售价！");

const DiscountCase Cases[] = {
    {"SupervisorAuthorizes",
     QStringLiteral("88"),
     {{QString(), BelowLowest, QString()}, {QStringLiteral("0002<Enter>0002<Enter>"), QString(), QString()}},
     Rate88,
     QStringLiteral("2814.24"),
     {QStringLiteral("9907")}},
    {"WrongPasswordThenCancelLeavesTheLines",
     QStringLiteral("88"),
     {{QString(), BelowLowest, QString()},
      {QStringLiteral("0002<Enter>9999<Enter>"), GrantError, QStringLiteral("职员0002的密码不正确")},
      // The fields were emptied: Esc gives up, the discount dialog refuses.
      {QStringLiteral("<Enter><waitfor frmGrant><Esc>"), QString(), Refused100001},
      // Back in the discount dialog with its opening values; Esc leaves it.
      {QStringLiteral("<Enter><waitfor frmZksz><Esc>"), QString(), QString()}},
     Unchanged,
     QStringLiteral("3198.00"),
     {}},
    {"CashierWithoutTheRightThenSupervisor",
     QStringLiteral("88"),
     {{QString(), BelowLowest, QString()},
      {QStringLiteral("0001<Enter>0001<Enter>"), GrantError,
       QStringLiteral("职员 0001 没有低于最低售价的权限")},
      {QStringLiteral("<Enter><waitfor frmGrant>0002<Enter>0002<Enter>"), QString(), QString()}},
     Rate88,
     QStringLiteral("2814.24"),
     {QStringLiteral("9907")}},
    // Rate 80: shares 599.80 and 39.80; 100001 falls below its cost, 100003
    // below its lowest price only: one authorization each, in line order.
    {"EachLineAsksForItsOwnRight",
     QStringLiteral("80"),
     {{QString(), BelowCost, QString()},
      {QStringLiteral("0002<Enter>0002<Enter>"), BelowLowest, QString()},
      {QStringLiteral("0002<Enter>0002<Enter>"), QString(), QString()}},
     {{QStringLiteral("100001"), QStringLiteral("599.80"), QStringLiteral("2399.20")},
      {QStringLiteral("100003"), QStringLiteral("39.80"), QStringLiteral("159.20")}},
     QStringLiteral("2558.40"),
     {QStringLiteral("9912"), QStringLiteral("9907")}},
};

// Waits for what `step` shows. When it shows neither, every dialog of the
// discount has closed: the sales screen takes the keyboard back once its
// window is active again, which no widget shows, hence a fixed pause.
QString AwaitStep(const Step& step)
{
    if (!step.message.isEmpty())
        return QStringLiteral("<waitfor message %1>").arg(step.message);
    if (!step.heading.isEmpty())
        return QStringLiteral("<waitfor frameHeading %1>").arg(step.heading);
    return QStringLiteral("<wait 200>");
}

class DiscountEndToEnd : public ::testing::TestWithParam<DiscountCase> {};

TEST_P(DiscountEndToEnd, WholeSaleRateBelowTheLimits)
{
    const DiscountCase& c = GetParam();
    E2EStore store;
    ASSERT_TRUE(store.Ok()) << store.Error().toStdString();

    QString keys = qiantai::test::BeginSale() + QString::fromUtf8(TwoLines) +
                   QString::fromUtf8(WholeSaleRate).arg(c.rate);
    QStringList dumps;
    for (size_t i = 0; i < c.steps.size(); ++i) {
        dumps << store.Path(QStringLiteral("step%1.txt").arg(i));
        keys += c.steps[i].keys + AwaitStep(c.steps[i]) + QStringLiteral("<dump %1>\n").arg(dumps.last());
    }
    const QString last = store.Path(QStringLiteral("lines.txt"));
    keys += QStringLiteral("<dump %1>\n").arg(last) + qiantai::test::DeleteAllAndLeave();

    const HostRun run = store.RunHost(QStringLiteral("0001"), QStringLiteral("0001"), keys);
    EXPECT_EQ(run.status, 0) << run.output.toStdString();

    for (size_t i = 0; i < c.steps.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "step " << i);
        const ScreenDump d = ScreenDump::Read(dumps[int(i)]);
        ASSERT_FALSE(d.IsEmpty());
        if (!c.steps[i].heading.isEmpty()) {
            EXPECT_TRUE(d.Labels(QStringLiteral("frameHeading")).contains(c.steps[i].heading))
                << d.Labels(QStringLiteral("frameHeading")).join(QLatin1Char('|')).toStdString();
        }
        // Only the information box has a "message" label.
        EXPECT_EQ(d.Label(QStringLiteral("message")), c.steps[i].message);
    }
    // After the last step every dialog of the discount is closed.
    const ScreenDump end = ScreenDump::Read(dumps.last());
    for (const QString& heading : {BelowLowest, BelowCost, QStringLiteral("整单手工折扣率设置")})
        EXPECT_FALSE(end.Labels(QStringLiteral("frameHeading")).contains(heading)) << heading.toStdString();

    const ScreenDump d = ScreenDump::Read(last);
    const QList<QStringList> rows = d.Rows(QStringLiteral("sgdGrid"));
    ASSERT_GE(rows.size(), int(c.lines.size()));
    for (size_t i = 0; i < c.lines.size(); ++i) {
        const QStringList& row = rows[int(i)];
        ASSERT_GE(row.size(), 7);
        EXPECT_EQ((QStringList{row[0], row[5], row[6]}),
                  (QStringList{c.lines[i].code, c.lines[i].discount, c.lines[i].amount}))
            << "line " << i + 1;
    }
    EXPECT_EQ(d.Label(QStringLiteral("lblje")), c.total);
    EXPECT_EQ(d.Label(QStringLiteral("lbljs")).trimmed(), QStringLiteral("2"));

    // Each grant is noted against the sale's document and its cashier.
    QStringList grants;
    for (const QStringList& r : store.Query(QStringLiteral(
             "SELECT g.f_Qxbm FROM tbHostGrant g JOIN tbHostDjhLog l ON l.f_Djh = g.f_Djh WHERE "
             "g.f_Sqr = '0002' AND g.f_Syybm = '0001' AND l.f_Syybm = '0001' ORDER BY g.rowid")))
        grants << r[0];
    EXPECT_EQ(grants, c.grants);
}

INSTANTIATE_TEST_SUITE_P(Authorization, DiscountEndToEnd, ::testing::ValuesIn(Cases),
                         [](const ::testing::TestParamInfo<DiscountCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
