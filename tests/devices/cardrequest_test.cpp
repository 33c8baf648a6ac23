#include "devices/cardrequest.h"

#include "base/gbk.h"

#include <gtest/gtest.h>

using namespace qiantai;

namespace {

// Byte positions count from 1, as in the layout.
QByteArray At(const QByteArray& bytes, int position, int width)
{
    return bytes.mid(position - 1, width);
}

} // namespace

TEST(BuildCardRequest, FieldsSitAtTheirPositionsAndLongValuesMoveTheLaterOnes)
{
    const QString card = QStringLiteral("6222021234567890");
    const QString track = QStringLiteral("49121010000");
    const QString longPiece = QString(40, QLatin1Char('9'));
    const struct {
        const char* name;
        QString cashier, first, second;
        int length, cashierAt, cashierWidth, firstAt, firstWidth, secondAt;
    } cases[] = {
        {"fits", QStringLiteral("0012"), card, track, 189, 43, 6, 49, 37, 86},
        {"cashier of six", QStringLiteral("000123"), card, track, 189, 43, 6, 49, 37, 86},
        {"long cashier", QStringLiteral("12345678"), card, track, 191, 43, 8, 51, 37, 88},
        {"chinese cashier", QString::fromUtf8("张三"), card, track, 189, 43, 6, 49, 37, 86},
        {"long first piece", QStringLiteral("01"), longPiece, track, 192, 43, 6, 49, 40, 89},
        {"both long", QStringLiteral("1234567"), longPiece, track, 193, 43, 7, 50, 40, 90},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray r = BuildCardRequest(c.first, c.second, 12345, c.cashier);
        ASSERT_EQ(r.size(), c.length);
        EXPECT_EQ(At(r, 1, 2), "00");
        EXPECT_EQ(At(r, 3, 12), "000000012345");
        EXPECT_EQ(At(r, 15, 28), QByteArray(28, ' ')); // reserved fields and the blank station number
        EXPECT_EQ(At(r, c.cashierAt, c.cashierWidth), ToGbk(c.cashier).leftJustified(c.cashierWidth, ' '));
        EXPECT_EQ(At(r, c.firstAt, c.firstWidth), ToGbk(c.first).leftJustified(c.firstWidth, ' '));
        EXPECT_EQ(r.mid(c.secondAt - 1), ToGbk(c.second).leftJustified(104, ' '));
    }
}

TEST(BuildCardRequest, EmptyPiecesGiveBlankTrackFieldsAndTheAmountIsCutOnTheLeft)
{
    const QByteArray r = BuildCardRequest(QString(), QString(), 1234567890123LL, QStringLiteral("01"));
    ASSERT_EQ(r.size(), 189);
    EXPECT_EQ(At(r, 3, 12), "234567890123");
    EXPECT_EQ(r.mid(48), QByteArray(141, ' '));
    EXPECT_EQ(At(BuildCardRequest(QString(), QString(), -5, QString()), 3, 12), "000000000000");
    EXPECT_EQ(At(BuildCardRequest(QString(), QString(), 0, QString(), QStringLiteral("12")), 35, 8),
              "12      ");
}

TEST(SplitSwipe, SeparatorsAndMarkers)
{
    const struct {
        QString swipe, first, second;
    } cases[] = {
        {QStringLiteral(";6222021234567890=49121010000?"), QStringLiteral("6222021234567890"),
         QStringLiteral("49121010000")},
        {QStringLiteral("6222021234567890+4912"), QStringLiteral("6222021234567890"), QStringLiteral("4912")},
        {QStringLiteral(" 1234 = 5678 =99"), QStringLiteral("1234"), QStringLiteral("5678")},
        {QStringLiteral(";6222021234567890?"), QString(), QString()},
        {QString(), QString(), QString()},
        {QStringLiteral("=4912"), QString(), QStringLiteral("4912")},
    };
    for (const auto& c : cases) {
        const SwipePieces p = SplitSwipe(c.swipe);
        EXPECT_EQ(p.first, c.first) << c.swipe.toStdString();
        EXPECT_EQ(p.second, c.second) << c.swipe.toStdString();
    }
}

TEST(AmountToFen, DropsTheFractionOfTheDecimalForm)
{
    const struct {
        double amount;
        qint64 fen;
    } cases[] = {{123.45, 12345}, {0.29, 29}, {1.13, 113},        {123.456, 12345},
                 {1.005, 100},    {0, 0},     {99999.99, 9999999}};
    for (const auto& c : cases)
        EXPECT_EQ(AmountToFen(c.amount), c.fen) << c.amount;
}

TEST(ParseCardResponse, ReadsTheCodeAndTheThreeKeptFields)
{
    QByteArray approved = "000000  " + QByteArray("************7890").leftJustified(20, ' ') + "    " +
                          "123456" + QByteArray(41, ' ') + "101112000001";
    const CardResponse a = ParseCardResponse(approved);
    EXPECT_TRUE(a.approved());
    EXPECT_EQ(a.transactionCode(), QStringLiteral("PCA"));
    EXPECT_EQ(a.khxx, QStringLiteral("************7890"));
    EXPECT_EQ(a.gxx3, QStringLiteral("123456"));
    EXPECT_EQ(a.gxx2, QStringLiteral("101112000001"));

    const CardResponse refused = ParseCardResponse("A01234");
    EXPECT_FALSE(refused.approved());
    EXPECT_EQ(refused.code, QStringLiteral("A01234"));
    // Byte 1 and bytes 5-6.
    EXPECT_EQ(refused.transactionCode(), QStringLiteral("A34"));
    EXPECT_TRUE(refused.khxx.isEmpty());

    EXPECT_FALSE(ParseCardResponse("0000").approved());
    EXPECT_FALSE(ParseCardResponse(QByteArray()).approved());
}
