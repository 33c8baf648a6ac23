#include "base/numbertext.h"

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
    EXPECT_EQ(MoneyText(-0.004), QStringLiteral("0.00"));
    EXPECT_EQ(MoneyText(2.675), QStringLiteral("2.68"));
    EXPECT_EQ(MoneyText(70), QStringLiteral("70.00"));
}

TEST(NumberText, TypedNumbersAreDigitsWithOnePoint)
{
    const struct {
        const char* text;
        double value;
    } good[] = {{"12.5", 12.5}, {" 12.5 ", 12.5}, {"0", 0},         {"5.", 5},
                {".5", 0.5},    {"007", 7},       {"10000000", 1e7}};
    for (const auto& c : good) {
        double v = -1;
        QString error;
        EXPECT_TRUE(ReadTypedNumber(QString::fromUtf8(c.text), v, error)) << c.text;
        EXPECT_EQ(v, c.value) << c.text;
    }
    // Signs, exponents, non-finite words, separators, inner blanks, full-width
    // digits and a lone point are no typed number.
    const QString bad[] = {QString(),
                           QStringLiteral(" "),
                           QStringLiteral("."),
                           QStringLiteral("1..5"),
                           QStringLiteral("1.2.3"),
                           QStringLiteral("-1"),
                           QStringLiteral("+1"),
                           QStringLiteral("-1e3"),
                           QStringLiteral("1e3"),
                           QStringLiteral("1E-2"),
                           QStringLiteral("inf"),
                           QStringLiteral("nan"),
                           QStringLiteral("0x10"),
                           QStringLiteral("1,5"),
                           QStringLiteral("1 5"),
                           QStringLiteral("１２"),
                           QStringLiteral("12a"),
                           QString(400, QLatin1Char('9'))};
    for (const QString& text : bad) {
        double v = 7;
        QString error;
        EXPECT_FALSE(ReadTypedNumber(text, v, error)) << text.toStdString();
        EXPECT_EQ(v, 7) << text.toStdString();
        EXPECT_EQ(error, NotANumberText(text));
    }
}

TEST(NumberText, OneChineseFailureTextCutWhenLong)
{
    EXPECT_EQ(NotANumberText(QStringLiteral("1..5")), QStringLiteral("“1..5”不是有效的数字"));
    EXPECT_EQ(NotANumberText(QString(10000, QLatin1Char('x'))),
              QStringLiteral("“") + QString(32, QLatin1Char('x')) + QStringLiteral("…”不是有效的数字"));
    // 31 letters and an emoji: the pair is not split.
    const QString emoji = QString(31, QLatin1Char('a')) + QStringLiteral("😀😀");
    EXPECT_EQ(NotANumberText(emoji),
              QStringLiteral("“") + QString(31, QLatin1Char('a')) + QStringLiteral("…”不是有效的数字"));
}

TEST(NumberText, StoredNumbersMayCarryASign)
{
    double v = 0;
    QString error;
    EXPECT_TRUE(TextToFloat(QStringLiteral(" -3 "), v, error));
    EXPECT_EQ(v, -3);
    EXPECT_TRUE(TextToFloat(QStringLiteral("+2.5"), v, error));
    EXPECT_EQ(v, 2.5);
    for (const char* bad : {"", "-", "12a", "1..2", "inf", "nan", "1e3"}) {
        v = 7;
        EXPECT_FALSE(TextToFloat(QString::fromLatin1(bad), v, error)) << bad;
        EXPECT_EQ(error, QStringLiteral("“%1”不是有效的数字").arg(QLatin1String(bad)));
        EXPECT_EQ(v, 7);
    }
}

TEST(NumberText, FieldCharacters)
{
    for (QChar c : QStringLiteral("0123456789"))
        EXPECT_TRUE(IsDigitChar(c) && IsNumberChar(c)) << c.unicode();
    EXPECT_TRUE(IsNumberChar(QLatin1Char('.')));
    EXPECT_FALSE(IsDigitChar(QLatin1Char('.')));
    for (QChar c : QStringLiteral("-+ ,eE\b\t０１"))
        EXPECT_FALSE(IsNumberChar(c)) << c.unicode();
}
