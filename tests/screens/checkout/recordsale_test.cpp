#include "screens/checkout/recordsale.h"

#include "checkoutfixture.h"
#include "fakehost.h"
#include "hostcalls/hostservice.h"
#include "logcapture.h"
#include "qiantai/dispids.h"
#include "sale/packets.h"
#include "sale/payments.h"

#include <gmock/gmock.h>

#include <stdexcept>

namespace qiantai {
namespace {

using test::FakeHost;

// The settlement screen as recording sees it: a log of what it was asked.
class LoggingUi : public RecordingUi {
public:
    QStringList log;
    bool printOk = true;
    bool printThrows = false;
    QString printError;
    int printed = 0;

    void SetBusy(bool busy) override { log << (busy ? QStringLiteral("busy") : QStringLiteral("idle")); }
    void ShowSubmitting() override { log << QStringLiteral("submitting"); }
    void ShowPrinting() override { log << QStringLiteral("printing"); }
    void ShowMainPanel() override { log << QStringLiteral("main"); }
    void ShowMessage(const QVariant& message, const QString& caption) override
    {
        log << QStringLiteral("message[%1] %2").arg(caption, message.toString());
    }
    bool PrintReceipt(const DataPacket& lines, QString& message) override
    {
        ++printed;
        log << QStringLiteral("print %1 lines").arg(lines.rowCount());
        if (printThrows)
            throw std::runtime_error("paper out");
        message = printError;
        return printOk;
    }
    // Answers of successive print-again questions; empty: the default (told
    // only).
    QList<bool> printAgain;
    bool AskPrintAgain(const QString& message, const QString& caption) override
    {
        if (printAgain.isEmpty())
            return RecordingUi::AskPrintAgain(message, caption);
        log << QStringLiteral("ask[%1] %2").arg(caption, message);
        const bool again = printAgain.takeFirst();
        if (again)
            printOk = true; // the paper is in
        return again;
    }
    void Pause(int ms) override { log << QStringLiteral("pause %1").arg(ms); }
};

bool SamePacket(const DataPacket& a, const DataPacket& b)
{
    if (a.columnCount() != b.columnCount() || a.rowCount() != b.rowCount())
        return false;
    for (int c = 0; c < a.columnCount(); ++c)
        if (a.columns()[c].name != b.columns()[c].name || a.columns()[c].type != b.columns()[c].type ||
            a.columns()[c].size != b.columns()[c].size)
            return false;
    for (int r = 0; r < a.rowCount(); ++r)
        if (a.row(r) != b.row(r))
            return false;
    return true;
}

bool SameBundle(const QVariant& a, const QVariant& b)
{
    const QVariantList x = a.toList(), y = b.toList();
    if (x.size() != 5 || y.size() != 5)
        return false;
    return SamePacket(packetFromVariant(x[0]), packetFromVariant(y[0])) &&
           SamePacket(packetFromVariant(x[1]), packetFromVariant(y[1])) && x[2] == y[2] && x[3] == y[3] &&
           x[4] == y[4];
}

class RecordSaleTest : public ::testing::Test {
protected:
    ~RecordSaleTest() override { fake->release(); }

    void SetUp() override
    {
        test::PrepareCheckoutSession(s, QStringLiteral("1"));
        s.Dqny = QStringLiteral("201001");
        s.Dwlx = QStringLiteral("11");
        s.Dybm = QStringLiteral("0101");
        s.Djh = QStringLiteral("0000000042");
        s.Syybm = QStringLiteral("0007");
        s.Syymc = QStringLiteral("张三");
        s.OperatorTag = QStringLiteral("old tag");
        s.Yyybm = QStringLiteral("1001");
        s.Yyymc = QStringLiteral("李四");
        s.Gzbm = QStringLiteral("0102");
        s.Ckbm = QStringLiteral("C1");
        s.Pszxbm = QStringLiteral("P9");
        s.Khxx = QStringLiteral("王先生 13900000000");
        test::AddLine(s, QStringLiteral("100001"), 85.47, 14.53, 17);
        s.AmountDue = 100;
        AddPaymentEntry(s, QStringLiteral("0001"), 0, {}, {}, 0, {}, 120, 0);

        fake->answer(dispid::CalculateRebate, 1, 12.5);
        fake->answer(dispid::GetOperatorInfo, 1, QStringLiteral("TAG-7"));
        for (int id : {dispid::SaveSale, dispid::SaveDeliverySale, dispid::SaveInstallSale,
                       dispid::SaveCentralDeliverySale})
            fake->on(id, [this](QVariantList& args) {
                khxxSent = args.last();
                args.last() = hostPointsAmount;
                return QVariant(true);
            });
        fake->on(dispid::OpenQuery, [this](QVariantList& args) {
            args[1] = packetToVariant(
                FakeHost::table({"f_Djh"}, stored ? QList<QVariantList>{{s.Djh}} : QList<QVariantList>{}));
            return QVariant(true);
        });
    }

    bool record() { return RecordSale(s, host, ui); }
    QString verifySql() const
    {
        const auto q = fake->callsTo(dispid::OpenQuery);
        return q.isEmpty() ? QString() : q.last().args[0].toString();
    }

    SaleSession s;
    FakeHost* fake = new FakeHost;
    HostService host{fake};
    LoggingUi ui;
    bool stored = true;
    QVariant hostPointsAmount = 1234.5;
    QVariant khxxSent;
};

TEST_F(RecordSaleTest, StorePickupCallsTheHostInOrderWithExactArguments)
{
    ASSERT_TRUE(record());
    EXPECT_EQ(fake->dispIds(), (QList<int>{dispid::CalculateRebate, dispid::GetOperatorInfo, dispid::SaveSale,
                                           dispid::OpenQuery}));
    const QVariantList save = fake->callsTo(dispid::SaveSale)[0].args;
    ASSERT_EQ(save.size(), 13);
    EXPECT_EQ(save.mid(0, 10), (QVariantList{"0000000042", "0007", QStringLiteral("张三"), "TAG-7", "1001",
                                             QStringLiteral("李四"), "0102", "C1", "", ""}));
    EXPECT_TRUE(SamePacket(packetFromVariant(save[10]), SaleLinesPacket(s.SaleLines)));
    EXPECT_TRUE(SameBundle(save[11], PaymentBundle(s)));
    EXPECT_EQ(khxxSent, QVariant(QStringLiteral("王先生 13900000000")));
    EXPECT_TRUE(SamePacket(packetFromVariant(fake->callsTo(dispid::CalculateRebate)[0].args[0]),
                           SaleLinesPacket(s.SaleLines)));
    EXPECT_EQ(fake->callsTo(dispid::GetOperatorInfo)[0].args[0], QVariant("0007"));

    EXPECT_EQ(verifySql(), QStringLiteral(" Select * From tb201001_xsmxzb zb , tb201001_xsmxcb cb "
                                          " Where zb.f_djh = cb.f_djh and zb.f_Djh = '0000000042'"
                                          " And zb.f_Bmbm = '0102' "));
    EXPECT_EQ(ui.log, (QStringList{"busy", "submitting", "printing", "print 1 lines", "pause 1000", "idle"}));
    EXPECT_DOUBLE_EQ(s.RebateAmount, 12.5);
    EXPECT_EQ(s.OperatorTag, QStringLiteral("TAG-7"));
    EXPECT_TRUE(s.Khxx.isEmpty());
    EXPECT_EQ(s.PointsEarned, 0); // no member card identified
}

// One sales method: its operation, the arguments it must receive and the
// tables the document is looked for in.
struct MethodCase {
    int xsfs;
    int dispId;
    QVariantList texts; // leading text arguments
    const char* tables;
};

class RecordSaleMethodTest : public RecordSaleTest, public ::testing::WithParamInterface<MethodCase> {};

TEST_P(RecordSaleMethodTest, DeliveryOperationsTakeTheirOwnAmount)
{
    const MethodCase c = GetParam();
    s.Xsfs = c.xsfs;
    s.CurrentMemberCard.CardNo = QStringLiteral("CARD");
    s.CurrentMemberCard.MemberAccount = QStringLiteral("ACCT");
    s.CollectedPreSales << QStringLiteral("201001000305");
    s.UnifiedTotal = 30;
    s.AmountDue = 130;
    ASSERT_TRUE(record());

    ASSERT_EQ(fake->count(c.dispId), 1);
    const QVariantList args = fake->callsTo(c.dispId)[0].args;
    const int n = int(c.texts.size());
    ASSERT_EQ(args.size(), n + 4);
    EXPECT_EQ(args.mid(0, n), c.texts);
    EXPECT_EQ(args[n].metaType().id(), QMetaType::Double);
    EXPECT_DOUBLE_EQ(args[n].toDouble(), 100); // AmountDue - UnifiedTotal
    EXPECT_TRUE(SamePacket(packetFromVariant(args[n + 1]), SaleLinesPacket(s.SaleLines)));
    EXPECT_TRUE(SameBundle(args[n + 2], PaymentBundle(s)));
    const DataPacket payments = packetFromVariant(args[n + 2].toList()[0]);
    EXPECT_EQ(payments.row(payments.rowCount() - 1).mid(0, 2), (QVariantList{0, -30.0}));
    EXPECT_EQ(args[n + 2].toList()[4], QVariant(QVariantList{"201001000305"}));
    EXPECT_THAT(verifySql().toStdString(), ::testing::HasSubstr(c.tables));
}

INSTANTIATE_TEST_SUITE_P(
    Methods, RecordSaleMethodTest,
    ::testing::Values(
        // 905: the card before the counter group.
        MethodCase{1, dispid::SaveDeliverySale,
                   QVariantList{"0000000042", "0007", QStringLiteral("张三"), "TAG-7", "1001",
                                QStringLiteral("李四"), "CARD", "ACCT", "0102", "C1"},
                   "From tb201001_Yxsmxzb zb , tb201001_Yxsmxcb cb "},
        MethodCase{2, dispid::SaveInstallSale,
                   QVariantList{"0000000042", "0007", QStringLiteral("张三"), "TAG-7", "1001",
                                QStringLiteral("李四"), "0102", "C1", "CARD", "ACCT"},
                   "From tb201001_Yxsmxzb zb , tb201001_Yxsmxcb cb "},
        MethodCase{3, dispid::SaveCentralDeliverySale,
                   QVariantList{"0000000042", "0007", QStringLiteral("张三"), "TAG-7", "1001",
                                QStringLiteral("李四"), "0102", "P9", "C1", "CARD", "ACCT"},
                   "From tb201001_Yxsmxzb zb , tb201001_Yxsmxcb cb "}));

TEST_F(RecordSaleTest, CounterGroupBecomesTheStoreUnlessTheUnitKeepsIt)
{
    for (const char* dwlx : {"10", "11", "02"}) {
        s.Dwlx = QString::fromLatin1(dwlx);
        s.Gzbm = QStringLiteral("0102");
        fake->clearLog();
        ASSERT_TRUE(record()) << dwlx;
        const QString expected =
            s.Dwlx == QLatin1String("02") ? QStringLiteral("0101") : QStringLiteral("0102");
        EXPECT_EQ(s.Gzbm, expected) << dwlx;
        EXPECT_EQ(fake->callsTo(dispid::SaveSale)[0].args[6].toString(), expected) << dwlx;
        EXPECT_TRUE(verifySql().endsWith(QStringLiteral("zb.f_Bmbm = '%1' ").arg(expected))) << dwlx;
    }
}

TEST_F(RecordSaleTest, PointsNeedACardAndANumber)
{
    struct {
        const char* card;
        double jfje;
        QVariant hostAmount;
        double points;
    } cases[] = {{"", 1.0, 1234.5, 0},
                 {"C1", 1.0, 1234.5, 1234.5},
                 {"C1", 2.0, 1234.5, 617.25},
                 {"C1", 0.0, 1234.5, 0},
                 {"C1", 1.0, QStringLiteral("not a number"), 0},
                 {"C1", 1.0, QVariant(), 0}};
    for (const auto& c : cases) {
        s.CurrentMemberCard.CardNo = QString::fromLatin1(c.card);
        s.Jfje = c.jfje;
        hostPointsAmount = c.hostAmount;
        ASSERT_TRUE(record());
        EXPECT_DOUBLE_EQ(s.PointsEarned, c.points) << c.card << " " << c.jfje;
    }
}

TEST_F(RecordSaleTest, RefusedRebateIsZeroWithoutMessage)
{
    fake->refuse(dispid::CalculateRebate, QStringLiteral("no rebate"));
    s.RebateAmount = 9;
    ASSERT_TRUE(record());
    EXPECT_EQ(s.RebateAmount, 0);
    EXPECT_THAT(ui.log.join('|').toStdString(), ::testing::Not(::testing::HasSubstr("message")));
}

TEST_F(RecordSaleTest, RefusedOperatorStopsBeforeSaving)
{
    fake->refuse(dispid::GetOperatorInfo, QStringLiteral("收银员已停用"));
    EXPECT_FALSE(record());
    EXPECT_EQ(fake->count(dispid::SaveSale), 0);
    EXPECT_EQ(ui.log, (QStringList{"busy", "submitting", "message[错误提示] 收银员已停用", "main", "idle"}));
    EXPECT_EQ(s.OperatorTag, QStringLiteral("old tag"));
    EXPECT_FALSE(s.Khxx.isEmpty());
}

TEST_F(RecordSaleTest, RefusedSaveKeepsEverythingAndTheRetrySendsTheSameDocument)
{
    s.Dwlx = QStringLiteral("02");
    fake->refuse(dispid::SaveSale, QVariantList{QStringLiteral("库存不足"), QStringLiteral("请检查")});
    EXPECT_FALSE(record());
    EXPECT_EQ(ui.log.mid(2), (QStringList{"message[出错提示] ", "main", "idle"}));
    EXPECT_EQ(fake->count(dispid::OpenQuery), 0);
    EXPECT_EQ(ui.printed, 0);
    EXPECT_EQ(s.PaymentEntries.Count(), 1);
    EXPECT_DOUBLE_EQ(s.AmountPaid, 120);
    EXPECT_FALSE(s.Khxx.isEmpty());
    EXPECT_EQ(s.PointsEarned, 0);

    // Enter again: from the rebate on, and the same document goes to the host.
    fake->on(dispid::SaveSale, [](QVariantList& args) {
        args.last() = 0;
        return QVariant(true);
    });
    ui.log.clear();
    EXPECT_TRUE(record());
    EXPECT_EQ(fake->count(dispid::CalculateRebate), 2);
    const auto saves = fake->callsTo(dispid::SaveSale);
    ASSERT_EQ(saves.size(), 2);
    EXPECT_EQ(saves[0].args.mid(0, 10), saves[1].args.mid(0, 10));
    EXPECT_EQ(saves[1].args[0], QVariant("0000000042"));
    EXPECT_TRUE(SamePacket(packetFromVariant(saves[0].args[10]), packetFromVariant(saves[1].args[10])));
    EXPECT_TRUE(SameBundle(saves[0].args[11], saves[1].args[11]));
    EXPECT_EQ(ui.printed, 1);
}

TEST_F(RecordSaleTest, HostMessageListIsPassedToTheBoxWhole)
{
    const QVariantList texts{QStringLiteral("库存不足"), QStringLiteral("请检查")};
    fake->refuse(dispid::SaveSale, texts);
    QVariant shown;
    struct Capture : LoggingUi {
        QVariant* out;
        void ShowMessage(const QVariant& m, const QString&) override { *out = m; }
    } capture;
    capture.out = &shown;
    EXPECT_FALSE(RecordSale(s, host, capture));
    EXPECT_EQ(shown, QVariant(texts));
}

TEST_F(RecordSaleTest, DocumentNotFoundIsAFailureAndRetryable)
{
    stored = false;
    EXPECT_FALSE(record());
    EXPECT_EQ(ui.log.mid(2), (QStringList{"message[出错提示] 提交数据库失败，请检查网络!", "main", "idle"}));
    EXPECT_EQ(ui.printed, 0);

    stored = true;
    EXPECT_TRUE(record());
    const auto saves = fake->callsTo(dispid::SaveSale);
    ASSERT_EQ(saves.size(), 2);
    EXPECT_EQ(saves[0].args.mid(0, 10), saves[1].args.mid(0, 10));
    EXPECT_TRUE(SameBundle(saves[0].args[11], saves[1].args[11]));
}

TEST_F(RecordSaleTest, PrintFailureAfterStoringStillCompletes)
{
    ui.printOk = false;
    ui.printError = QStringLiteral("打印机脱机");
    EXPECT_TRUE(record());
    EXPECT_EQ(ui.log, (QStringList{"busy", "submitting", "printing", "print 1 lines",
                                   "message[出错提示] 销售数据已保存，小票未能打印!\r\n打印机脱机",
                                   "pause 1000", "idle"}));
    EXPECT_EQ(fake->count(dispid::SaveSale), 1);
    EXPECT_TRUE(s.Khxx.isEmpty());

    ui.log.clear();
    ui.printThrows = true;
    EXPECT_TRUE(RecordSale(s, host, ui, 0));
    EXPECT_THAT(ui.log.join('|').toStdString(), ::testing::HasSubstr("小票未能打印!\r\npaper out"));
    EXPECT_EQ(ui.log.last(), QStringLiteral("idle"));
}

// The cashier loads paper and prints again: the receipt comes out, the
// document stays stored once. Esc at the question goes on without it.
TEST_F(RecordSaleTest, PrintAgainAfterAPrinterStateDoesNotRecordAgain)
{
    for (const bool again : {true, false}) {
        SCOPED_TRACE(again);
        ui.log.clear();
        ui.printed = 0;
        ui.printOk = false;
        ui.printError = QStringLiteral("打印机缺纸，请装好小票纸后重新打印！");
        ui.printAgain = {again};
        const int saves = fake->count(dispid::SaveSale);
        EXPECT_TRUE(record());
        EXPECT_EQ(fake->count(dispid::SaveSale), saves + 1);
        EXPECT_EQ(ui.printed, again ? 2 : 1);
        EXPECT_THAT(ui.log.join('|').toStdString(),
                    ::testing::HasSubstr("ask[出错提示] 销售数据已保存，小票未能打印!\r\n打印机缺纸"));
        EXPECT_EQ(ui.log.last(), QStringLiteral("idle"));
    }
}

// One info line per recorded sale (number, total, each payment, attempt) and
// one warning per attempt that failed.
TEST_F(RecordSaleTest, EachAttemptLogsOneLine)
{
    test::LogCapture log;
    s.Djh = QStringLiteral("0000000077"); // attempts are counted per document
    s.DocTotalAmount = 100;
    AddPaymentEntry(s, QStringLiteral("0005"), 0, QStringLiteral("8800000001"), {}, 0, {}, 30, 0);
    stored = false;
    ASSERT_FALSE(record());
    stored = true;
    ASSERT_TRUE(record());
    EXPECT_EQ(
        log.linesOf("qiantai.recording"),
        (QStringList{QStringLiteral("sale 0000000077 not recorded, attempt 1 : 提交数据库失败，请检查网络!"),
                     "recorded sale 0000000077 total 100.00 payments 0001=120.00 0005=30.00 attempt 2"}));
    for (const QString& line : log.lines())
        EXPECT_FALSE(line.contains(QLatin1String("8800000001"))) << line.toStdString();
}

TEST_F(RecordSaleTest, SuspendedSaleSendsTheFlag)
{
    s.SuspendFlag = 1;
    ASSERT_TRUE(record());
    const QVariantList bundle = fake->callsTo(dispid::SaveSale)[0].args[11].toList();
    EXPECT_EQ(bundle[2], QVariant(1));
}

TEST_F(RecordSaleTest, HostThatThrowsIsShownAndRetryable)
{
    fake->fail(dispid::SaveSale, QStringLiteral("connection reset"));
    EXPECT_FALSE(record());
    EXPECT_THAT(ui.log.join('|').toStdString(), ::testing::HasSubstr("connection reset"));
    EXPECT_EQ(ui.log.last(), QStringLiteral("idle"));
}

TEST(VerifyStored, NoQueryWithoutAMonth)
{
    SaleSession s;
    s.Dqny = QStringLiteral("x");
    EXPECT_TRUE(VerifyStoredSql(s).isEmpty());
    s.Dqny = QStringLiteral("201001");
    s.Djh = QStringLiteral("1'2");
    EXPECT_THAT(VerifyStoredSql(s).toStdString(), ::testing::HasSubstr("zb.f_Djh = '1''2'"));
}

// The host keeps codes without surrounding blanks; the check looks for them
// the same way.
TEST(VerifyStored, LooksForTheCodesAsTheHostStoresThem)
{
    SaleSession s;
    s.Dqny = QStringLiteral("201001");
    s.Djh = QStringLiteral(" 0000000007 ");
    s.Gzbm = QStringLiteral("01 ");
    const std::string sql = VerifyStoredSql(s).toStdString();
    EXPECT_THAT(sql, ::testing::HasSubstr("zb.f_Djh = '0000000007'"));
    EXPECT_THAT(sql, ::testing::HasSubstr("zb.f_Bmbm = '01'"));
}

} // namespace
} // namespace qiantai
