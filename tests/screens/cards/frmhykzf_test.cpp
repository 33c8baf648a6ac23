#include "controls/flatedit.h"
#include "screens/cards/frmhykzf.h"

#include "cardscreenkit.h"
#include "modalscript.h"

#include <gtest/gtest.h>

using namespace qiantai;
using namespace qiantai::test;

namespace {

class MemberCardScreen : public ::testing::Test {
protected:
    struct AmountCall {
        double remaining, balance;
    };

    int Run(const QString& script, bool queryOnly = false)
    {
        TPayment m;
        m.Code = QStringLiteral("0003");
        m.Kind = paykind::MemberCard;
        screen = std::make_unique<TFrmHykzf>(nullptr, kit.Context(),
                                             [this](QWidget*, const QRect&, const TPayment&, double remaining,
                                                    double balance, double& amount) {
                                                 amountCalls.append({remaining, balance});
                                                 amount = typedAmount;
                                                 return amountConfirmed;
                                             });
        screen->QueryOnly = queryOnly;
        screen->Payment = m;
        screen->Remaining = 300;
        ModalScript typing(script);
        const int result = screen->exec();
        EXPECT_TRUE(typing.done());
        return result;
    }

    CardScreenKit kit;
    std::unique_ptr<TFrmHykzf> screen;
    QList<AmountCall> amountCalls;
    double typedAmount = 120;
    bool amountConfirmed = true;
};

const QVariantList CardQuery{"0", "8800000001", "123456", "1", QString(), "0101"};

} // namespace

TEST_F(MemberCardScreen, ChargesTheCardWithTheAmountChosenAgainstItsBalance)
{
    kit.queryAnswers = {MemberCard(500, QStringLiteral("8800000001"))};
    kit.payAnswers = {Answer({})};
    typedAmount = 600; // above the balance: the front-end decides
    EXPECT_EQ(Run(QStringLiteral("8800000001<Enter>123456<Enter>")), 1);
    EXPECT_EQ(kit.queries, QList<QVariantList>{CardQuery});
    ASSERT_EQ(amountCalls.size(), 1);
    EXPECT_DOUBLE_EQ(amountCalls[0].remaining, 300);
    EXPECT_DOUBLE_EQ(amountCalls[0].balance, 500);
    ASSERT_EQ(kit.payments.size(), 1);
    EXPECT_EQ(kit.payments[0], (QVariantList{"0", kit.session.Djh, "0101", "8800000001", "M001", 600.0,
                                             QString(), "0012", QStringLiteral("张三"), QString()}));
    EXPECT_EQ(screen->Card.CardNo, "8800000001");
    EXPECT_DOUBLE_EQ(screen->EnteredAmount, 600);
    EXPECT_EQ(screen->Caption(), QStringLiteral("正在刷卡，请稍候..."));
    EXPECT_TRUE(kit.shown.isEmpty());
}

TEST_F(MemberCardScreen, QueryModeShowsCardAfterCardAndNeverTakesAnAmount)
{
    kit.queryAnswers = {MemberCard(500, QStringLiteral("8800000001")),
                        MemberCard(-0.004, QStringLiteral("8800000002"))};
    EXPECT_EQ(Run(QStringLiteral("8800000001<Enter>123456<Enter>8800000002<Enter>1<Enter><Esc>"), true), 2);
    EXPECT_EQ(kit.ShownTexts(), (QStringList{QStringLiteral("卡号:8800000001 余额:500.00"),
                                             QStringLiteral("卡号:8800000002 余额:0.00")}));
    EXPECT_EQ(kit.shown[0].caption, QStringLiteral("会员卡查询"));
    EXPECT_EQ(kit.queries.size(), 2);
    EXPECT_EQ(kit.queries[1].at(2), "1"); // the second password, not the first kept
    EXPECT_TRUE(amountCalls.isEmpty());
    EXPECT_TRUE(kit.payments.isEmpty());
}

TEST_F(MemberCardScreen, RefusalsBeforeTheChargeReturnToTheSwipe)
{
    kit.queryAnswers = {MemberCard(-0.006, QStringLiteral("8800000001")),
                        Refusal(QStringLiteral("密码错误"))};
    // Empty swipe, a negative balance, a refused query, then Esc.
    EXPECT_EQ(
        Run(QStringLiteral("<Enter><Enter>8800000001<Enter>123456<Enter>8800000001<Enter>9<Enter><Esc>")), 2);
    ASSERT_EQ(kit.shown.size(), 3);
    EXPECT_EQ(kit.shown[0].text, QStringLiteral("请刷会员卡!"));
    EXPECT_EQ(kit.shown[0].caption, QStringLiteral("提示"));
    EXPECT_EQ(kit.shown[1].text, QStringLiteral("会员卡余额有误,请联系系统管理员"));
    EXPECT_EQ(kit.shown[1].caption, QStringLiteral("会员卡支付出错"));
    EXPECT_EQ(kit.shown[2].text, QStringLiteral("密码错误"));
    EXPECT_EQ(kit.queries.size(), 2);
    EXPECT_TRUE(amountCalls.isEmpty());
    EXPECT_TRUE(kit.payments.isEmpty());
    EXPECT_EQ(screen->SwipeField()->text(), QString());
}

TEST_F(MemberCardScreen, CancelledAmountOrRefusedChargeEndsCancelled)
{
    kit.queryAnswers = {MemberCard(500, QStringLiteral("8800000001"))};
    amountConfirmed = false;
    EXPECT_EQ(Run(QStringLiteral("8800000001<Enter>123456<Enter>")), 2);
    EXPECT_TRUE(kit.payments.isEmpty());

    kit.queryAnswers = {MemberCard(500, QStringLiteral("8800000001"))};
    kit.payAnswers = {Refusal(QStringLiteral("余额不足"))};
    amountConfirmed = true;
    EXPECT_EQ(Run(QStringLiteral("8800000001<Enter>123456<Enter>")), 2);
    EXPECT_EQ(kit.payments.size(), 1);
    ASSERT_FALSE(kit.shown.isEmpty());
    EXPECT_EQ(kit.shown.last().caption, QStringLiteral("会员卡支付时出错"));
    EXPECT_DOUBLE_EQ(screen->EnteredAmount, 0);
}
