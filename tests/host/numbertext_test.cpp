#include "host/numbertext.h"

#include <gtest/gtest.h>

using namespace qiantai;

TEST(NumberText, FormatsWithFixedDecimalsRoundingHalfAwayFromZero)
{
    const struct {
        double value;
        int decimals;
        const char* text;
    } cases[] = {{2.675, 2, "2.68"}, {1.005, 2, "1.01"}, {37.5, 2, "37.50"},  {3, 0, "3"},
                 {2.5, 0, "3"},      {-2.5, 0, "-3"},    {-0.001, 2, "0.00"}, {1234567.891, 2, "1234567.89"}};
    for (const auto& c : cases)
        EXPECT_EQ(FormatFixed(c.value, c.decimals), QString::fromLatin1(c.text)) << c.value;
}

TEST(NumberText, ReadsNumbersAndNamesTheTextThatIsNone)
{
    double v = -1;
    QString error;
    EXPECT_TRUE(TextToFloat(QStringLiteral(" 12.5 "), v, error));
    EXPECT_EQ(v, 12.5);
    EXPECT_TRUE(TextToFloat(QStringLiteral("-3"), v, error));
    EXPECT_EQ(v, -3);
    for (const char* bad : {"", "12a", "1..2", "inf", "nan"}) {
        v = 7;
        EXPECT_FALSE(TextToFloat(QString::fromLatin1(bad), v, error)) << bad;
        EXPECT_EQ(error, QStringLiteral("'%1' is not a valid floating point value").arg(QLatin1String(bad)));
        EXPECT_EQ(v, 7);
    }
}
