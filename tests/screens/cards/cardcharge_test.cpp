// A charge at the card front-end whose answer is lost is settled by asking
// what became of it; charges carry their own payment id and the query's
// token; a charge can be given back.
#include "cardscreenkit.h"
#include "logcapture.h"

#include <gtest/gtest.h>

using namespace qiantai;
using namespace qiantai::test;

namespace {

const QVariantList MemberQuery{"0", "8800000001", "123456", "1", "", "0101"};

QVariantList MemberPayment(double amount)
{
    return {"0", "D1", "0101", "8800000001", "M001", amount, "", "0012", "n", ""};
}

CardFrontEndResult WithToken(CardFrontEndResult r, const QString& token)
{
    r.token = token;
    return r;
}

} // namespace

TEST(CardCharge, EachPaymentHasItsOwnIdAndCarriesItsQuerysToken)
{
    CardScreenKit kit;
    kit.queryAnswers = {WithToken(MemberCard(500, QStringLiteral("8800000001")), QStringLiteral("tok-1"))};
    kit.payAnswers = {Answer({}), Answer({})};
    TCardInfo card;
    ASSERT_TRUE(kit.cards.QueryMemberCard(MemberQuery, card));
    ASSERT_TRUE(kit.cards.PayMemberCard(MemberPayment(100)));
    ASSERT_TRUE(kit.cards.PayMemberCard(MemberPayment(100)));
    ASSERT_EQ(kit.paymentIds.size(), 2);
    EXPECT_FALSE(kit.paymentIds[0].isEmpty());
    EXPECT_NE(kit.paymentIds[0], kit.paymentIds[1]);
    // A token pays once; the next payment needs a query of its own.
    EXPECT_EQ(kit.tokens, (QStringList{QStringLiteral("tok-1"), QString()}));
    const QList<CardCharge> charges = kit.charges.OfDocument(QStringLiteral("D1"));
    ASSERT_EQ(charges.size(), 2);
    EXPECT_EQ(charges[0].paymentId, kit.paymentIds[0]);
    EXPECT_DOUBLE_EQ(charges[0].amount, 100);
}

TEST(CardCharge, ALostAnswerIsSettledByStatusBeforeTheCashierHearsAnything)
{
    const CardFrontEndResult lost =
        Failed(CardFrontEndStatus::OutcomeUnknown, QStringLiteral("读取 127.0.0.1:8529 的应答失败或超时"));
    const struct {
        const char* name;
        QList<CardFrontEndResult> status;
        bool charged;
        QStringList shown;
    } cases[] = {
        {"made", {Status(QStringLiteral("done"))}, true, {}},
        {"not made",
         {Status(QStringLiteral("none"))},
         false,
         {QStringLiteral("取会员卡信息失败:读取 127.0.0.1:8529 的应答失败或超时")}},
        {"made after the status was lost once", {lost, Status(QStringLiteral("done"))}, true, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CardScreenKit kit;
        kit.payAnswers = {lost};
        kit.statusAnswers = c.status;
        EXPECT_EQ(kit.cards.PayMemberCard(MemberPayment(50)), c.charged);
        EXPECT_EQ(kit.ShownTexts(), c.shown);
        ASSERT_FALSE(kit.statusAsked.isEmpty());
        EXPECT_EQ(kit.statusAsked.first(), kit.paymentIds.value(0));
        EXPECT_EQ(kit.charges.OfDocument(QStringLiteral("D1")).size(), c.charged ? 1 : 0);
        // Nothing is resent: the one payment was asked about, not made again.
        EXPECT_EQ(kit.payments.size(), 1);
    }
}

TEST(CardCharge, AnOutcomeNobodyCanTellIsSaidSoNotDropped)
{
    CardScreenKit kit;
    kit.payAnswers = {Failed(CardFrontEndStatus::OutcomeUnknown, QStringLiteral("超时"))};
    // The status question never gets an answer; the cashier asks again at
    // every question the kit answers with Enter.
    EXPECT_FALSE(kit.cards.PayMemberCard(MemberPayment(50)));
    ASSERT_FALSE(kit.shown.isEmpty());
    EXPECT_TRUE(kit.shown.first().text.startsWith(QStringLiteral("卡支付结果未知:")))
        << kit.shown.first().text.toStdString();
    EXPECT_TRUE(kit.shown.last().text.contains(kit.paymentIds.value(0)))
        << kit.shown.last().text.toStdString();
    EXPECT_GT(kit.statusAsked.size(), 3);
}

TEST(CardCharge, FailuresBeforeAndDuringTheCallHaveTheirPrefixes)
{
    const struct {
        const char* name;
        bool welfare;
        CardFrontEndResult answer;
        QString shown;
    } cases[] = {
        {"member card, never reached", false,
         Failed(CardFrontEndStatus::ConnectionFailed, QStringLiteral("无法连接")),
         QStringLiteral("远程卡前置机连接失败:无法连接")},
        {"member card, time-out", false, Failed(CardFrontEndStatus::OutcomeUnknown, QStringLiteral("超时")),
         QStringLiteral("取会员卡信息失败:超时")},
        {"certificate, time-out", true, Failed(CardFrontEndStatus::OutcomeUnknown, QStringLiteral("超时")),
         QStringLiteral("取福利证信息失败:超时")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CardScreenKit kit;
        kit.queryAnswers = {c.answer};
        kit.payAnswers = {c.answer};
        kit.statusAnswers = {Status(QStringLiteral("none"))};
        TCardInfo card;
        TFlzInfo certificate;
        EXPECT_FALSE(c.welfare ? kit.cards.QueryWelfareCertificate({"1", "7700000001", "0101"}, certificate)
                               : kit.cards.QueryMemberCard(MemberQuery, card));
        EXPECT_FALSE(c.welfare ? kit.cards.PayWelfareCertificate(
                                     {"1", "D1", "0101", "7700000001", "", "0012", "n", ""}, 50)
                               : kit.cards.PayMemberCard(MemberPayment(10)));
        EXPECT_EQ(kit.ShownTexts(), (QStringList{c.shown, c.shown}));
        EXPECT_EQ(kit.shown.value(1).caption, QStringLiteral("提  示"));
    }
}

TEST(CardCharge, AChargeIsGivenBackAndForgotten)
{
    CardScreenKit kit;
    kit.payAnswers = {Answer({})};
    ASSERT_TRUE(kit.cards.PayMemberCard(MemberPayment(20)));
    const CardCharge charge = kit.charges.OfDocument(QStringLiteral("D1")).value(0);
    kit.reverseAnswers = {Refusal(QStringLiteral("没有这笔支付")), Answer({})};
    EXPECT_FALSE(kit.cards.ReverseCharge(charge));
    EXPECT_EQ(kit.ShownTexts(), QStringList{QStringLiteral("没有这笔支付")});
    EXPECT_EQ(kit.charges.OfDocument(QStringLiteral("D1")).size(), 1);
    EXPECT_TRUE(kit.cards.ReverseCharge(charge));
    EXPECT_EQ(kit.reversed, (QStringList{charge.paymentId, charge.paymentId}));
    EXPECT_TRUE(kit.charges.OfDocument(QStringLiteral("D1")).isEmpty());

    const QString question =
        ReversalQuestion({{"p", "0", "8800000001", 20, "D1"}, {"q", "1", "7700000001", 0, "D1"}});
    EXPECT_EQ(question, QStringLiteral("本单未能记入,已收的卡支付:\n会员卡 ****0001 20.00\n福利证 ****0001\n"
                                       "按【Enter】撤销这些卡支付并放弃结算,【Esc】返回"));
}

// One info line per charge made, with the number masked: what the till
// charged can be found in its log without the card in it.
TEST(CardCharge, EachChargeMadeLogsOneLineWithTheMaskedNumber)
{
    LogCapture log;
    CardScreenKit kit;
    kit.queryAnswers = {MemberCard(500, QStringLiteral("8800000001"))};
    kit.payAnswers = {Answer({}), Refusal(QStringLiteral("余额不足")), Answer({})};
    TCardInfo card;
    ASSERT_TRUE(kit.cards.QueryMemberCard(MemberQuery, card));
    ASSERT_TRUE(kit.cards.PayMemberCard(MemberPayment(20)));
    EXPECT_FALSE(kit.cards.PayMemberCard(MemberPayment(30)));
    ASSERT_TRUE(kit.cards.PayWelfareCertificate({"1", "D1", "0101", "7700000004", "", "0012", "n", ""}, 50));

    const QList<CardCharge> charges = kit.charges.OfDocument(QStringLiteral("D1"));
    ASSERT_EQ(charges.size(), 2);
    EXPECT_EQ(log.linesOf("qiantai.cards"), (QStringList{"member card charge ****0001 amount 20.00 payment " +
                                                             charges[0].paymentId + " document D1",
                                                         "certificate charge ****0004 amount 50.00 payment " +
                                                             charges[1].paymentId + " document D1"}));
    for (const QString& line : log.lines())
        for (const char* secret : {"8800000001", "7700000004", "123456"})
            EXPECT_FALSE(line.contains(QLatin1String(secret))) << line.toStdString();
}
