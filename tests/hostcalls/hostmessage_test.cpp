#include "hostcalls/hostmessage.h"

#include <QStringList>
#include <QVariantList>

#include <gtest/gtest.h>

using namespace qiantai;

TEST(HostMessageText, TextArraysAndEverythingElse)
{
    const QString unknown = QString::fromUtf8("未知错误！");
    const struct {
        const char* what;
        QVariant message;
        QString text;
    } cases[] = {
        {"text as it is", QVariant(QString::fromUtf8("库存不足\r\n")), QString::fromUtf8("库存不足\r\n")},
        {"empty text", QVariant(QString()), QString()},
        {"two texts, one per line",
         QVariant(QVariantList{QString::fromUtf8("商品不存在"), QString::fromUtf8("请重新输入")}),
         QString::fromUtf8("商品不存在\r\n请重新输入")},
        {"string list", QVariant(QStringList{QStringLiteral("a"), QStringLiteral("b")}),
         QStringLiteral("a\r\nb")},
        {"numbers and nulls in an array", QVariant(QVariantList{42, QVariant(), 1.5}),
         QStringLiteral("42\r\n\r\n1.5")},
        {"empty array", QVariant(QVariantList{}), QString()},
        {"nested array", QVariant(QVariantList{QStringLiteral("a"), QVariantList{QStringLiteral("b")}}),
         unknown},
        {"empty variant", QVariant(), unknown},
        {"number", QVariant(17), unknown},
        {"Boolean", QVariant(false), unknown},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HostMessageText(c.message), c.text) << c.what;
}
