#include "base/cardmask.h"

#include <gtest/gtest.h>

using namespace qiantai;

TEST(CardMask, LogsShowTheLastFour)
{
    EXPECT_EQ(MaskCardNumber(QStringLiteral("8800000001")), QStringLiteral("****0001"));
    EXPECT_EQ(MaskCardNumber(QStringLiteral("12")), QStringLiteral("****12"));
}

TEST(CardMask, StoredTextKeepsTheFirstSixAndLastFourOfEachCardNumber)
{
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"6222021234567890", "622202******7890"},
        {"6222021234567890123", "622202*********0123"},
        {"622202123456789", "622202*****6789"},
        {"card 6222021234567890=4912101", "card 622202******7890=4912101"},
        {"6222021234567890;6222029876543210", "622202******7890;622202******3210"},
        {"622202******7890", "622202******7890"},
        {"123456789012", "123456789012"},
        {"no digits", "no digits"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MaskCardNumbersIn(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
    // Full-width digits are not ASCII digits of a card number.
    EXPECT_EQ(MaskCardNumbersIn(QString::fromUtf8("６２２２０２１２３４５６７８９０")),
              QString::fromUtf8("６２２２０２１２３４５６７８９０"));
}
