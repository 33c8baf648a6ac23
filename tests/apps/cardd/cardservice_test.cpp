#include "cardservice.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qiantai::cardd;
using nlohmann::json;

TEST(CardService, RequestArraysOfEachCardType)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    StoreLocation location;
    location.database = dir.filePath(QStringLiteral("cards.sqlite"));
    CardStore store(location);
    QString error;
    ASSERT_TRUE(store.initialise(&error)) << error.toStdString();
    ASSERT_TRUE(store.putDemoData(HashCost::Minimum, &error)) << error.toStdString();
    CardService service(store);

    json r = service.queryCard(json::array({"0", "8800000001", "123456", "1", "", "0101"}));
    EXPECT_EQ(r["ok"], true);
    EXPECT_EQ(r["answer"][1], 500.0);
    EXPECT_EQ(r["answer"][3], "8800000001");
    EXPECT_EQ(r["answer"][5], "M00000001");
    EXPECT_EQ(r["answer"][6], 1200.0);

    // Amount as a number or as its text; rounded to fen.
    r = service.payByCard(
        json::array({"0", "D1", "0101", "8800000001", "M00000001", 100.004, "", "01", "n", ""}));
    EXPECT_EQ(r["ok"], true) << r.dump();
    r = service.payByCard(
        json::array({"0", "D2", "0101", "8800000001", "M00000001", "50.5", "", "01", "n", ""}));
    EXPECT_EQ(r["ok"], true) << r.dump();
    r = service.queryCard(json::array({"0", "8800000001", "123456", "1", "", "0101"}));
    EXPECT_EQ(r["answer"][1], 349.5);

    r = service.payByCard(json::array({"0", "", "0101", "8800000001", "M00000001", 1, "", "01", "n", ""}));
    EXPECT_EQ(r["ok"], false);
    EXPECT_EQ(r["refusal"], "缺少单据号");

    r = service.payByCard(json::array({"1", "D3", "0101", "7700000002", "", "01", "n", ""}));
    EXPECT_EQ(r["ok"], true) << r.dump();
    r = service.queryCard(json::array({"1", "7700000002", "0101"}));
    EXPECT_EQ(r["ok"], false);

    const json badQueries[] = {
        json::object(),
        json::array(),
        json::array({"2", "x", "y"}),
        json::array({"0", "8800000001"}),
        json::array({"0", 8800000001LL, "123456", "1", "", "0101"}),
        json::array({"1"}),
    };
    for (const json& params : badQueries)
        EXPECT_THROW(service.queryCard(params), InvalidParams) << params.dump();
    const json badPayments[] = {
        json::array({"0", "D1", "0101", "8800000001", "M00000001", "abc", "", "01", "n", ""}),
        json::array({"0", "D1", "0101", "8800000001", "M00000001", json::array(), "", "01", "n", ""}),
        json::array({"0", "D1", "0101", "8800000001", "M00000001", 1}),
        json::array({"1", "D1", "0101"}),
    };
    for (const json& params : badPayments)
        EXPECT_THROW(service.payByCard(params), InvalidParams) << params.dump();
}
