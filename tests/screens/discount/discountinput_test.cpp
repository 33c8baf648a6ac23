#include "screens/discount/discountinput.h"

#include <gtest/gtest.h>

using namespace qiantai;

TEST(DiscountInputTest, AcceptedCharacters)
{
    for (QChar c : QStringLiteral("0123456789.-\b"))
        EXPECT_TRUE(IsDiscountInputChar(c)) << c.unicode();
    for (QChar c : QStringLiteral("+eE, a%０１"))
        EXPECT_FALSE(IsDiscountInputChar(c)) << c.unicode();
}

TEST(DiscountInputTest, ReadsNumbers)
{
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {{"90", 90}, {" 84.5 ", 84.5}, {"-10", -10}, {"5.", 5}, {".5", 0.5}, {"0", 0}};
    for (const Case& c : cases) {
        double value = -1;
        QString error;
        EXPECT_TRUE(ParseDiscountInput(QString::fromUtf8(c.text), value, error)) << c.text;
        EXPECT_DOUBLE_EQ(value, c.value) << c.text;
    }
}

TEST(DiscountInputTest, RefusesWhatIsNoNumber)
{
    for (const char* text : {"", "  ", "-", ".", "1.2.3", "1-2", "--1", "1e3", "0x10"}) {
        double value = 7;
        QString error;
        EXPECT_FALSE(ParseDiscountInput(QString::fromUtf8(text), value, error)) << text;
        EXPECT_DOUBLE_EQ(value, 7) << text;
        EXPECT_EQ(error, QStringLiteral("'%1' is not a valid floating point value")
                             .arg(QString::fromUtf8(text).trimmed()));
    }
    double value = 0;
    QString error;
    EXPECT_FALSE(ParseDiscountInput(QString(400, QLatin1Char('9')), value, error)); // out of range
}
