#include "qiantai/dispids.h"
#include "sale/salesession.h"
#include "screens/sales/beginsale.h"

#include "storefixture.h"

#include <gtest/gtest.h>

#include <functional>

using namespace qiantai;
using qiantai::test::StoreFixture;

namespace {

// Plays the cashier: each dialog answers from a queue and every step is logged.
class ScriptedScreen : public SaleDocumentScreen {
public:
    QList<int> methods;          // picker answers; -1 = cancel
    QList<QVariant> infoAnswers; // SalesInfoOutcome as int; a function may set session values first
    QList<int> answers;          // message box keys
    bool cardConfirmed = false;
    QStringList log;
    QList<int> pickerOpenedOn;
    std::function<void()> onInfoConfirmed;
    std::function<void()> onCard;

    void ResetGrid() override { log << QStringLiteral("grid"); }
    void RefreshLabels() override { log << QStringLiteral("labels"); }
    bool ChooseSalesMethod(int& xsfs) override
    {
        pickerOpenedOn << xsfs;
        log << QStringLiteral("picker");
        const int m = methods.isEmpty() ? -1 : methods.takeFirst();
        if (m < 0)
            return false;
        xsfs = m;
        return true;
    }
    SalesInfoOutcome EnterSalesInformation(bool withWarehouse) override
    {
        log << (withWarehouse ? QStringLiteral("info+warehouse") : QStringLiteral("info"));
        const auto o = static_cast<SalesInfoOutcome>(infoAnswers.takeFirst().toInt());
        if (o == SalesInfoOutcome::Confirmed && onInfoConfirmed)
            onInfoConfirmed();
        return o;
    }
    int ShowMessage(const QString& text, InfoKind kind) override
    {
        log << QStringLiteral("msg%1:%2").arg(int(kind)).arg(text);
        return answers.isEmpty() ? 1 : answers.takeFirst();
    }
    void CloseScreen() override { log << QStringLiteral("close"); }
    bool IdentifyMemberCard() override
    {
        log << QStringLiteral("card");
        if (onCard)
            onCard();
        return cardConfirmed;
    }
    void RefreshMemberLine() override { log << QStringLiteral("member"); }
    void ClearMemberLine() override { log << QStringLiteral("no card"); }
};

constexpr int Confirmed = int(SalesInfoOutcome::Confirmed);
constexpr int Previous = int(SalesInfoOutcome::PreviousStep);
constexpr int Exit = int(SalesInfoOutcome::Exit);

class BeginSaleTest : public ::testing::Test {
protected:
    BeginSaleTest() : host(new StoreFixture)
    {
        s.HostObject.reset(host);
        host->release();
        s.Syybm = QStringLiteral("1001");
        s.Syymc = QStringLiteral("张三");
        s.Dwlx = QStringLiteral("02");
        s.Dybm = QStringLiteral("0101");
        s.Pszxbm = QStringLiteral("PS01");
        screen.onInfoConfirmed = [this] {
            s.Yyybm = QStringLiteral("2001");
            s.Yyymc = QStringLiteral("李四");
        };
    }
    SaleSession s;
    StoreFixture* host;
    ScriptedScreen screen;
};

} // namespace

TEST_F(BeginSaleTest, StorePickupAsksTheStoreNumberWithTheDepartmentAsCounterGroup)
{
    s.Djh = QStringLiteral("old");
    s.Gzmc = QStringLiteral("old group");
    s.DocTotalAmount = 9;
    s.CurrentMemberCard.CardNo = QStringLiteral("88");
    s.SaleLines.Add();
    screen.methods = {0};
    screen.infoAnswers = {Confirmed};
    ASSERT_TRUE(BeginSaleDocument(s, screen));
    EXPECT_EQ(screen.log, (QStringList{"grid", "no card", "picker", "info", "labels"}));
    ASSERT_EQ(host->count(dispid::AllocateDocumentNumber), 1);
    EXPECT_EQ(host->count(dispid::AllocateDeliveryDocumentNumber), 0);
    const QVariantList args = host->callsTo(dispid::AllocateDocumentNumber).first().args;
    EXPECT_EQ(args, (QVariantList{"1001", QStringLiteral("张三"), "0101", QVariant(), QVariant()}));
    EXPECT_EQ(s.Djh, host->nextDocumentNumber);
    EXPECT_EQ(s.Gzbm, QStringLiteral("0101"));
    EXPECT_TRUE(s.Gzmc.isEmpty());
    EXPECT_DOUBLE_EQ(s.DocTotalAmount, 0);
    EXPECT_TRUE(s.CurrentMemberCard.CardNo.isEmpty());
    EXPECT_TRUE(s.SaleLines.IsEmpty());
}

TEST_F(BeginSaleTest, DeliveryMethodsAskTheDeliveryNumberAndChainMallsKeepTheirCounterGroup)
{
    for (int method : {1, 2, 3}) {
        SCOPED_TRACE(method);
        host->clearLog();
        s.Dwlx = QStringLiteral("11");
        screen.log.clear();
        screen.methods = {method};
        screen.infoAnswers = {Confirmed};
        screen.onInfoConfirmed = [this] { s.Gzbm = QStringLiteral("010101"); };
        ASSERT_TRUE(BeginSaleDocument(s, screen));
        EXPECT_EQ(s.Xsfs, method);
        EXPECT_EQ(screen.log.value(3),
                  method == 3 ? QStringLiteral("info+warehouse") : QStringLiteral("info"));
        EXPECT_EQ(host->count(dispid::AllocateDocumentNumber), 0);
        ASSERT_EQ(host->count(dispid::AllocateDeliveryDocumentNumber), 1);
        EXPECT_EQ(host->callsTo(dispid::AllocateDeliveryDocumentNumber).first().args.value(2),
                  QVariant(QStringLiteral("010101")));
    }
}

TEST_F(BeginSaleTest, CancelledDialogsReturnToThePickerWithThePreviousChoice)
{
    // Info dialog: previous step, then exit, then confirmed.
    screen.methods = {2, 1, 1};
    screen.infoAnswers = {Previous, Exit, Confirmed};
    ASSERT_TRUE(BeginSaleDocument(s, screen));
    EXPECT_EQ(screen.pickerOpenedOn, (QList<int>{0, 2, 1}));
    EXPECT_EQ(host->count(dispid::AllocateDeliveryDocumentNumber), 1);
    EXPECT_EQ(s.Xsfs, 1);
}

TEST_F(BeginSaleTest, ExitQuestionClosesOnYesAndAsksAgainOnNo)
{
    screen.methods = {-1, -1};
    screen.answers = {2, 1};
    EXPECT_FALSE(BeginSaleDocument(s, screen));
    const QString q = QStringLiteral("msg2:确定要退出本模块吗？");
    EXPECT_EQ(screen.log, (QStringList{"grid", "no card", "picker", q, "picker", q, "close"}));
    EXPECT_EQ(host->count(dispid::AllocateDocumentNumber), 0);
}

TEST_F(BeginSaleTest, CentralDeliveryWithoutCentreIsRefused)
{
    s.Pszxbm.clear();
    screen.methods = {3, 0};
    screen.infoAnswers = {Confirmed};
    ASSERT_TRUE(BeginSaleDocument(s, screen));
    EXPECT_EQ(screen.log, (QStringList{"grid", "no card", "picker",
                                       QStringLiteral("msg1:配送中心未正确配置，请与系统管理员联系！"),
                                       "picker", "info", "labels"}));
    EXPECT_EQ(s.Xsfs, 0);
}

TEST_F(BeginSaleTest, RefusedNumberIsReportedAndTheMethodChosenAgain)
{
    int calls = 0;
    host->on(dispid::AllocateDocumentNumber, [&](QVariantList& a) {
        if (++calls == 1) {
            a[4] = QStringLiteral("忙");
            return QVariant(false);
        }
        a[3] = QStringLiteral("N2");
        return QVariant(true);
    });
    screen.methods = {0, 0};
    screen.infoAnswers = {Confirmed, Confirmed};
    ASSERT_TRUE(BeginSaleDocument(s, screen));
    EXPECT_EQ(screen.log,
              (QStringList{"grid", "no card", "picker", "info", QStringLiteral("msg1:抢单据号失败"), "labels",
                           "picker", "info", "labels"}));
    EXPECT_EQ(s.Djh, QStringLiteral("N2"));
}

TEST_F(BeginSaleTest, NetworkModeAsksForTheMemberCard)
{
    struct Case {
        QString hyklwms, yckqzj;
        bool confirmed;
        bool asked;
    };
    for (const Case& c : {Case{"1", "cardhost", true, true}, Case{"1", "cardhost", false, true},
                          Case{"1", "", true, false}, Case{"0", "cardhost", true, false}}) {
        SCOPED_TRACE((c.hyklwms + "/" + c.yckqzj).toStdString());
        s.Hyklwms = c.hyklwms;
        s.Yckqzj = c.yckqzj;
        screen.log.clear();
        screen.methods = {0};
        screen.infoAnswers = {Confirmed};
        screen.cardConfirmed = c.confirmed;
        // A card left behind by a dialog that did not confirm is cleared.
        screen.onCard = [this] { s.CurrentMemberCard.CardNo = QStringLiteral("8800000001"); };
        ASSERT_TRUE(BeginSaleDocument(s, screen));
        EXPECT_EQ(screen.log.contains("card"), c.asked);
        EXPECT_EQ(screen.log.contains("member"), c.asked);
        EXPECT_EQ(screen.log.last(), c.asked ? QStringLiteral("member") : QStringLiteral("labels"));
        EXPECT_EQ(s.CurrentMemberCard.CardNo.isEmpty(), !(c.asked && c.confirmed));
    }
}
