#include "controls/flatedit.h"
#include "screens/cards/frmflzzf.h"

#include "cardscreenkit.h"
#include "modalscript.h"

#include <gtest/gtest.h>

using namespace qiantai;
using namespace qiantai::test;

namespace {

class WelfareScreen : public ::testing::Test {
protected:
    int Run(const QString& script, double remaining)
    {
        TPayment m;
        m.Code = QStringLiteral("0005");
        m.Kind = paykind::Welfare;
        kit.session.AmountDue = remaining;
        screen = std::make_unique<TFrmFlzzf>(nullptr, kit.Context());
        screen->Payment = m;
        screen->Remaining = remaining;
        ModalScript typing(script);
        const int result = screen->exec();
        EXPECT_TRUE(typing.done());
        return result;
    }

    CardScreenKit kit;
    std::unique_ptr<TFrmFlzzf> screen;
};

} // namespace

TEST_F(WelfareScreen, TakesCertificatesWhileMoreThan50RemainsAndBooksEachOne)
{
    kit.queryAnswers = {Certificate(QStringLiteral("7700000001"), 50),
                        Certificate(QStringLiteral("7700000002"), 50)};
    kit.payAnswers = {Answer({}), Answer({})};
    EXPECT_EQ(Run(QStringLiteral("7700000001<Enter>7700000002<Enter>"), 120), 1);
    EXPECT_DOUBLE_EQ(screen->Remaining, 20);
    EXPECT_DOUBLE_EQ(screen->CertificateTotal, 100);
    EXPECT_EQ(screen->TotalText(), QStringLiteral("券累计支付金额:100.00"));
    EXPECT_EQ(kit.queries, (QList<QVariantList>{{"1", "7700000001", "0101"}, {"1", "7700000002", "0101"}}));
    ASSERT_EQ(kit.payments.size(), 2);
    EXPECT_EQ(kit.payments[0], (QVariantList{"1", kit.session.Djh, "0101", "7700000001", QString(), "0012",
                                             QStringLiteral("张三"), QString()}));
    ASSERT_EQ(kit.consumptionRecords.size(), 2);
    EXPECT_EQ(kit.consumptionRecords[1],
              (QVariantList{"3", "0101", kit.session.Djh, "PCA", "7700000002", 5000.0, "090807", "0615",
                            QString(), QString(), QString()}));
    ASSERT_EQ(kit.session.PaymentEntries.Count(), 2);
    for (int i = 0; i < 2; ++i) {
        const TPayDetail& e = kit.session.PaymentEntries.Item(i);
        EXPECT_EQ(e.MemberAccount, QStringLiteral("LS%1").arg(i + 1));
        EXPECT_EQ(e.Source, paysource::Welfare);
        EXPECT_DOUBLE_EQ(e.Amount, 50);
    }
    EXPECT_DOUBLE_EQ(kit.session.AmountPaid, 100);
}

TEST_F(WelfareScreen, UnusableOrUnknownCertificatesChargeNothing)
{
    kit.queryAnswers = {Certificate(QStringLiteral("7700000003"), 100, 0), Refusal(QStringLiteral("无此券"))};
    // Empty; too valuable (the number stays, so Backspace shortens it); unknown
    // (the field is cleared); Esc.
    EXPECT_EQ(Run(QStringLiteral("<Enter>7700000003<Enter><Backspace><Enter><Esc>"), 30), 2);
    EXPECT_EQ(kit.ShownTexts(),
              (QStringList{QStringLiteral("请输入券号"), QStringLiteral("券面值大于剩余未支付金额，不能使用"),
                           QStringLiteral("无此券")}));
    ASSERT_EQ(kit.queries.size(), 2);
    EXPECT_EQ(kit.queries[1].at(1), "770000000");
    EXPECT_EQ(screen->NumberField()->text(), QString());
    EXPECT_TRUE(kit.payments.isEmpty());
    EXPECT_EQ(kit.session.PaymentEntries.Count(), 0);
}

TEST_F(WelfareScreen, RefusedChargeEndsTheScreenAndEarlierCertificatesStayBooked)
{
    kit.queryAnswers = {Certificate(QStringLiteral("7700000001"), 50),
                        Certificate(QStringLiteral("7700000002"), 50)};
    kit.payAnswers = {Answer({}), Refusal(QStringLiteral("券已使用"))};
    EXPECT_EQ(Run(QStringLiteral("7700000001<Enter>7700000002<Enter>"), 200), 2);
    EXPECT_EQ(kit.session.PaymentEntries.Count(), 1);
    EXPECT_EQ(kit.consumptionRecords.size(), 1);
    ASSERT_FALSE(kit.shown.isEmpty());
    EXPECT_EQ(kit.shown.last().caption, QStringLiteral("福利证支付时出错"));
}

TEST_F(WelfareScreen, CertificateNumbersTakeDigitsOnly)
{
    EXPECT_EQ(Run(QStringLiteral("77a0b0<Backspace>1x<Esc>"), 100), 2);
    EXPECT_EQ(screen->NumberField()->text(), "7701");
    EXPECT_TRUE(kit.queries.isEmpty());
}
