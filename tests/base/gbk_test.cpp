#include "base/gbk.h"

#include <gtest/gtest.h>

using namespace qiantai;

// What GBK cannot carry is printed as its look-alike or as one "?" per
// character; no byte outside GBK is sent (0x80 for "€" would swallow the
// next byte), and the width counts what is printed.
TEST(Gbk, PrintsLookAlikesOrOneQuestionMarkPerCharacter)
{
    const struct {
        QString text;
        QByteArray bytes;
    } cases[] = {
        {QStringLiteral("A€B"), QByteArray("A?B")},
        {QStringLiteral("¥12"), QByteArray("\xA3\xA4"
                                           "12")},
        {QStringLiteral("•"), QByteArray("\xA1\xA4")},
        {QStringLiteral("™x"), QByteArray("?x")},
        {QStringLiteral("😀😀"), QByteArray("??")},
        {QString(QChar(0xD800)) + QLatin1Char('a'), QByteArray("?a")},
        {QStringLiteral("销货单"), QByteArray("\xCF\xFA\xBB\xF5\xB5\xA5")},
        {QStringLiteral("￥·"), QByteArray("\xA3\xA4\xA1\xA4")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToGbk(c.text).toHex(' '), c.bytes.toHex(' ')) << c.text.toStdString();
        EXPECT_EQ(GbkWidth(c.text), c.bytes.size()) << c.text.toStdString();
        EXPECT_EQ(ToGbk(GbkPrintable(c.text)), c.bytes) << c.text.toStdString();
    }
    EXPECT_EQ(GbkPrintable(QStringLiteral("¥€电")), QStringLiteral("￥?电"));
    EXPECT_EQ(FromGbk(ToGbk(QStringLiteral("收银员编码："))), QStringLiteral("收银员编码："));
}
