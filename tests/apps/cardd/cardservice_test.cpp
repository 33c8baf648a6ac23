#include "cardserverkit.h"
#include "cardservice.h"

#include <QDate>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <iterator>

using namespace qiantai::cardd;
using nlohmann::json;

namespace {

CallContext Beside(const std::string& paymentId, const json& token)
{
    CallContext c;
    c.context = {{"paymentId", paymentId}, {"token", token}};
    c.till = "till-1";
    return c;
}

} // namespace

TEST(CardService, RequestArraysOfEachCardType)
{
    qiantai::test::DemoCardStore cards;
    ASSERT_TRUE(cards.ok) << cards.error.toStdString();
    CardStore& store = *cards.store;
    CardService service(store);

    const CallContext till = Beside("", nullptr);
    json r = service.queryCard(json::array({"0", "8800000001", "123456", "1", "", "0101"}), till);
    EXPECT_EQ(r["ok"], true);
    const json token = r["token"];
    EXPECT_EQ(r["answer"][1], 500.0);
    EXPECT_EQ(r["answer"][3], "8800000001");
    EXPECT_EQ(r["answer"][5], "M00000001");
    EXPECT_EQ(r["answer"][6], 1200.0);

    // Amount as a number or as its text; rounded to fen.
    r = service.payByCard(
        json::array({"0", "D1", "0101", "8800000001", "M00000001", 100.004, "", "01", "n", ""}),
        Beside("a", token));
    EXPECT_EQ(r["ok"], true) << r.dump();
    // A token is spent by its charge.
    r = service.payByCard(
        json::array({"0", "D2", "0101", "8800000001", "M00000001", "50.5", "", "01", "n", ""}),
        Beside("b", token));
    EXPECT_EQ(r["ok"], false) << r.dump();
    const json second =
        service.queryCard(json::array({"0", "8800000001", "123456", "1", "", "0101"}), till)["token"];
    // Bound to the till that asked.
    r = service.payByCard(
        json::array({"0", "D2", "0101", "8800000001", "M00000001", "50.5", "", "01", "n", ""}),
        CallContext{{{"paymentId", "b"}, {"token", second}}, "till-2"});
    EXPECT_EQ(r["ok"], false) << r.dump();
    r = service.payByCard(
        json::array({"0", "D2", "0101", "8800000001", "M00000001", "50.5", "", "01", "n", ""}),
        Beside("b", second));
    EXPECT_EQ(r["ok"], true) << r.dump();
    r = service.queryCard(json::array({"0", "8800000001", "123456", "1", "", "0101"}), till);
    EXPECT_EQ(r["answer"][1], 349.5);

    r = service.payByCard(json::array({"0", "", "0101", "8800000001", "M00000001", 1, "", "01", "n", ""}),
                          Beside("c", r["token"]));
    EXPECT_EQ(r["ok"], false);
    EXPECT_EQ(r["refusal"], "缺少单据号");

    const json certificate = service.queryCard(json::array({"1", "7700000002", "0101"}), till)["token"];
    r = service.payByCard(json::array({"1", "D3", "0101", "7700000002", "", "01", "n", ""}),
                          Beside("d", certificate));
    EXPECT_EQ(r["ok"], true) << r.dump();
    r = service.queryCard(json::array({"1", "7700000002", "0101"}), till);
    EXPECT_EQ(r["ok"], false);
    EXPECT_FALSE(r.contains("token"));

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

TEST(CardService, QueriesAreLimitedPerTill)
{
    qiantai::test::DemoCardStore cards;
    ASSERT_TRUE(cards.ok) << cards.error.toStdString();
    CardStore& store = *cards.store;
    ServiceSettings settings;
    settings.queriesPerMinute = 3;
    CardService service(store, settings);

    // Member cards and certificate numbers count alike.
    const json queries[] = {
        json::array({"1", "7700000009", "0101"}),
        json::array({"0", "8800000001", "000000", "1", "", "0101"}),
        json::array({"1", "7700000008", "0101"}),
    };
    for (const json& q : queries)
        EXPECT_EQ(service.queryCard(q, Beside("", nullptr))["ok"], false);
    const json refused =
        service.queryCard(json::array({"0", "8800000001", "123456", "1", "", "0101"}), Beside("", nullptr));
    EXPECT_EQ(refused["ok"], false);
    EXPECT_EQ(refused["refusal"], "查询过于频繁,请稍后再试");
    EXPECT_FALSE(refused.contains("answer"));
    CallContext other;
    other.till = "till-2";
    EXPECT_EQ(service.queryCard(json::array({"0", "8800000001", "123456", "1", "", "0101"}), other)["ok"],
              true);
}

TEST(CardService, JournalForDayListsTheDaysChargesWithTheirState)
{
    qiantai::test::DemoCardStore cards;
    ASSERT_TRUE(cards.ok) << cards.error.toStdString();
    CardStore& store = *cards.store;
    CardService service(store);
    auto charge = [&](const char* id, const char* cardNo, const char* document, qint64 fen, bool member) {
        Charge c;
        c.paymentId = QString::fromLatin1(id);
        c.cardNo = QString::fromLatin1(cardNo);
        c.memberAccount = member ? QStringLiteral("M00000001") : QString();
        c.documentNo = QString::fromLatin1(document);
        c.unitCode = QStringLiteral("0101");
        c.cashierCode = QStringLiteral("0001");
        c.amountFen = fen;
        return (member ? store.chargeMember(c) : store.chargeCertificate(c)).outcome;
    };
    ASSERT_EQ(charge("m", "8800000001", "D1", 1234, true), Outcome::Done);
    ASSERT_EQ(charge("c", "7700000001", "D2", 0, false), Outcome::Done);
    ASSERT_EQ(store.reverseCharge(QStringLiteral("c"), "till-1").outcome, Outcome::Done);
    // A payment id closed without a charge is no charge.
    ASSERT_EQ(store.paymentStatus(QStringLiteral("never")).outcome, Outcome::Done);

    const std::string today = QDate::currentDate().toString(QStringLiteral("yyyyMMdd")).toStdString();
    const json r = service.journalForDay(json::array({today}));
    ASSERT_EQ(r["ok"], true) << r.dump();
    const json& entries = r["entries"];
    ASSERT_EQ(entries.size(), 2u) << r.dump();
    const struct {
        const char* type;
        const char* cardNo;
        const char* document;
        qint64 fen;
        const char* state;
    } expected[] = {{"0", "8800000001", "D1", 1234, "done"}, {"1", "7700000001", "D2", 5000, "reversed"}};
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(entries[i]["card_type"], expected[i].type);
        EXPECT_EQ(entries[i]["card_no"], expected[i].cardNo);
        EXPECT_EQ(entries[i]["document_no"], expected[i].document);
        EXPECT_EQ(entries[i]["amount_fen"], expected[i].fen);
        EXPECT_EQ(entries[i]["state"], expected[i].state);
        EXPECT_EQ(entries[i]["cashier_code"], "0001");
    }
    const std::string tomorrow =
        QDate::currentDate().addDays(1).toString(QStringLiteral("yyyyMMdd")).toStdString();
    EXPECT_TRUE(service.journalForDay(json::array({tomorrow}))["entries"].empty());
    for (const json& bad : {json::array(), json::array({"2024-06-15"}), json::array({"20240631"}),
                            json::array({20240615}), json::object()})
        EXPECT_THROW(service.journalForDay(bad), InvalidParams) << bad.dump();
}
