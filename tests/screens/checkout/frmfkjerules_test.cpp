#include "screens/checkout/frmfkjerules.h"

#include "checkoutfixture.h"
#include "sale/payments.h"

#include <gtest/gtest.h>

namespace qiantai {
namespace {

struct AmountCase {
    const char* code;
    double remaining;
    double cashTaken; // cash already booked before
    double balance;   // member card balance shown
    const char* text;
    bool accepted;
    double amount;
    const char* message; // when refused
};

class AmountEntryTest : public ::testing::TestWithParam<AmountCase> {};

TEST_P(AmountEntryTest, EnterDecides)
{
    const AmountCase c = GetParam();
    SaleSession s;
    test::PrepareCheckoutSession(s, QStringLiteral("1"));
    s.AmountDue = c.remaining + c.cashTaken;
    if (c.cashTaken > 0)
        AddPaymentEntry(s, QStringLiteral("0001"), 0, {}, {}, 0, {}, c.cashTaken, 0);
    const TPayment& m = s.PaymentMethods[test::MethodIndex(s, QString::fromLatin1(c.code))];

    const AmountDecision d = DecidePaymentAmount(s, m, c.remaining, c.balance, QString::fromLatin1(c.text));
    EXPECT_EQ(d.accepted, c.accepted);
    if (c.accepted) {
        EXPECT_DOUBLE_EQ(d.amount, c.amount);
        EXPECT_TRUE(d.message.isEmpty());
    } else {
        EXPECT_EQ(d.message, QString::fromUtf8(c.message));
        EXPECT_TRUE(d.clearField);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AmountEntryTest,
    ::testing::Values(
        AmountCase{"0001", 100, 0, 0, "", true, 100, ""}, AmountCase{"0001", 100, 0, 0, "150", true, 150, ""},
        AmountCase{"0001", 100, 0, 0, "10000000", true, 10000000, ""},
        // A transfer leaves no change beyond the cash taken.
        AmountCase{"0002", 100, 0, 0, "150", false, 0, "转帐支付不能大于剩余支付金额，请从新录入"},
        AmountCase{"0002", 50, 50, 0, "100", true, 100, ""},
        AmountCase{"0001", 100, 0, 0, "10000000.01", false, 0, "单笔销售不能大于10000000，请从新录入金额"},
        // Member card: an empty field takes at most the balance.
        AmountCase{"0005", 300, 0, 120.50, "", true, 120.50, ""},
        AmountCase{"0005", 100, 0, 120.50, "", true, 100, ""},
        AmountCase{"0005", 100, 0, 500, "100.004", true, 100.004, ""},
        AmountCase{"0005", 100, 0, 500, "100.01", false, 0, "会员卡支付不能大于剩余支付金额，请从新录入"},
        // With 50 cash taken, a card may exceed the rest by 50.
        AmountCase{"0005", 50, 50, 500, "100", true, 100, ""},
        AmountCase{"0007", 50, 50, 0, "100.01", false, 0, "消费支付不能大于剩余支付金额，请从新录入"}));

TEST(AmountEntry, TextThatIsNoNumberIsRefusedAndKept)
{
    SaleSession s;
    test::PrepareCheckoutSession(s);
    for (const QString& text : {QStringLiteral("1.2.3"), QStringLiteral("-1e3"), QStringLiteral("inf")}) {
        const AmountDecision d = DecidePaymentAmount(s, s.PaymentMethods[0], 10, 0, text);
        EXPECT_FALSE(d.accepted) << text.toStdString();
        EXPECT_EQ(d.message, QStringLiteral("“%1”不是有效的数字").arg(text));
        EXPECT_FALSE(d.clearField);
        EXPECT_FALSE(DecideDeposit(5000, text).accepted) << text.toStdString();
    }
}

TEST(AmountEntry, CaptionAndCharacters)
{
    SaleSession s;
    test::PrepareCheckoutSession(s);
    EXPECT_EQ(AmountEntryCaption(s.PaymentMethods[0]), QStringLiteral("输入现金付款金额"));
    for (const char* kept : {"", "0", "9", "."})
        EXPECT_FALSE(DropsTypedText(QString::fromLatin1(kept))) << kept;
    for (const char* dropped : {"-", "+", " ", ",", "e", "12"})
        EXPECT_TRUE(DropsTypedText(QString::fromLatin1(dropped))) << dropped;
}

TEST(DepositEntry, EnterDecides)
{
    struct {
        const char* text;
        bool accepted;
        double amount;
    } cases[] = {{"", true, 5000},     {"  ", true, 5000},    {"0", true, 0},    {"4999.99", true, 4999.99},
                 {"5000", true, 5000}, {"5000.01", false, 0}, {"6000", false, 0}};
    for (const auto& c : cases) {
        const AmountDecision d = DecideDeposit(5000, QString::fromLatin1(c.text));
        EXPECT_EQ(d.accepted, c.accepted) << c.text;
        if (c.accepted)
            EXPECT_DOUBLE_EQ(d.amount, c.amount) << c.text;
        else
            EXPECT_EQ(d.message, QStringLiteral("定金不应大于实际销售金额！")) << c.text;
    }
    EXPECT_FALSE(DecideDeposit(5000, QStringLiteral("1..2")).accepted);
}

} // namespace
} // namespace qiantai
