// The card server through HTTP on loopback: the money rules as a till (or
// anything else on the network) meets them.
#include "cardserverkit.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <httplib.h>

using namespace qiantai::cardd;
using nlohmann::json;
using qiantai::Result;

namespace {

class CardServerHttp : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(cards_.ok) << cards_.error.toStdString();
        store_ = cards_.store.get();
        service_ = std::make_unique<CardService>(*store_);
        TillKeys keys;
        if (!tillKeys_.isEmpty()) {
            const QString file = cards_.dir.filePath(QStringLiteral("tills"));
            QFile f(file);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(tillKeys_);
            f.close();
            const Result<> loaded = keys.load(file);
            ASSERT_TRUE(loaded) << loaded.error().toStdString();
        }
        server_ = std::make_unique<qiantai::test::RunningCardServer>(CardMethods(*service_), keys);
        ASSERT_TRUE(server_->ok) << server_->error;
    }

    // The raw reply body of `body`; empty when there was none (HTTP 204).
    std::string Post(const std::string& body)
    {
        httplib::Client client("127.0.0.1", server_->port());
        client.set_read_timeout(5, 0);
        if (!tillKey_.empty())
            client.set_bearer_token_auth(tillKey_);
        const auto reply = client.Post("/rpc", body, "application/json");
        EXPECT_TRUE(reply) << "no answer";
        status_ = reply ? reply->status : 0;
        return reply ? reply->body : std::string();
    }
    // One call with an id; `context` travels beside the params.
    json Call(const std::string& method, const json& params, const json& context = json::object())
    {
        const json body = {
            {"jsonrpc", "2.0"}, {"id", ++id_}, {"method", method}, {"params", params}, {"context", context}};
        const std::string reply = Post(body.dump());
        return reply.empty() ? json() : json::parse(reply, nullptr, false);
    }

    static json MemberQuery(const std::string& cardNo, const std::string& password)
    {
        return json::array({"0", cardNo, password, "1", "", "0101"});
    }
    static json MemberPayment(const std::string& document, double amount,
                              const std::string& cardNo = "8800000001",
                              const std::string& account = "M00000001")
    {
        return json::array({"0", document, "0101", cardNo, account, amount, "", "0012", "cashier", ""});
    }
    static json CertificatePayment(const std::string& document, const std::string& number)
    {
        return json::array({"1", document, "0101", number, "", "0012", "cashier", ""});
    }
    // The token of a successful query, or empty.
    std::string Token(const json& params)
    {
        const json r = Call("QueryCard", params);
        return r["result"].value("token", std::string());
    }
    qint64 Balance(const QString& cardNo = QStringLiteral("8800000001"))
    {
        const Result<MemberCard> card = store_->readMember(cardNo);
        EXPECT_TRUE(card) << card.error().toStdString();
        return card ? card.value().balanceFen : -1;
    }

    qiantai::test::DemoCardStore cards_;
    CardStore* store_ = nullptr;
    std::unique_ptr<CardService> service_;
    std::unique_ptr<qiantai::test::RunningCardServer> server_;
    long long id_ = 0;
    QByteArray tillKeys_; // the server's till key file; empty: none
    std::string tillKey_; // what the client sends
    int status_ = 0;      // HTTP status of the last reply
};

class CardServerWithTillKeys : public CardServerHttp {
protected:
    void SetUp() override
    {
        tillKeys_ = "# store 01\ntill-01 0123456789abcdef0001\ntill-02 0123456789abcdef0002\n";
        CardServerHttp::SetUp();
    }
};

} // namespace

TEST_F(CardServerHttp, EqualPaymentsAreTwoChargesAndAResentPaymentIsOne)
{
    const std::string token = Token(MemberQuery("8800000001", "123456"));
    ASSERT_FALSE(token.empty());
    json r = Call("PayByCard", MemberPayment("D1", 100), {{"paymentId", "till1-a"}, {"token", token}});
    ASSERT_EQ(r["result"]["ok"], true) << r.dump();
    const json first = r["result"]["journal"];
    // The same payment id again (a resend after a lost answer): done once.
    r = Call("PayByCard", MemberPayment("D1", 100), {{"paymentId", "till1-a"}, {"token", token}});
    ASSERT_EQ(r["result"]["ok"], true) << r.dump();
    EXPECT_EQ(r["result"]["journal"], first);
    EXPECT_EQ(Balance(), 40000);

    // A second payment of the same amount by the same card on the same
    // document is a payment of its own.
    const std::string again = Token(MemberQuery("8800000001", "123456"));
    r = Call("PayByCard", MemberPayment("D1", 100), {{"paymentId", "till1-b"}, {"token", again}});
    ASSERT_EQ(r["result"]["ok"], true) << r.dump();
    EXPECT_NE(r["result"]["journal"], first);
    EXPECT_EQ(Balance(), 30000);

    // A payment id names one payment: another card or amount under it is refused.
    r = Call("PayByCard", MemberPayment("D1", 50), {{"paymentId", "till1-b"}, {"token", again}});
    EXPECT_EQ(r["result"]["ok"], false) << r.dump();
    EXPECT_EQ(Balance(), 30000);
}

TEST_F(CardServerHttp, AChargeNeedsTheTokenOfAPasswordQueryOfItsCard)
{
    const std::string token2 = Token(MemberQuery("8800000002", "654321"));
    ASSERT_FALSE(token2.empty());
    const struct {
        const char* name;
        json context;
    } cases[] = {
        {"no token", {{"paymentId", "p1"}}},
        {"made-up token", {{"paymentId", "p2"}, {"token", "0123456789abcdef0123456789abcdef"}}},
        {"another card's token", {{"paymentId", "p3"}, {"token", token2}}},
        {"no payment id", {{"token", token2}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const json r = Call("PayByCard", MemberPayment("D1", 10), c.context);
        EXPECT_FALSE(r.contains("result") && r["result"]["ok"] == true) << r.dump();
    }
    EXPECT_EQ(Balance(), 50000);

    // A certificate is bound to the query that checked it.
    json r = Call("PayByCard", CertificatePayment("D1", "7700000001"), {{"paymentId", "c1"}});
    EXPECT_FALSE(r.contains("result") && r["result"]["ok"] == true) << r.dump();
    const std::string certificate = Token(json::array({"1", "7700000001", "0101"}));
    ASSERT_FALSE(certificate.empty());
    r = Call("PayByCard", CertificatePayment("D1", "7700000001"),
             {{"paymentId", "c2"}, {"token", certificate}});
    EXPECT_EQ(r["result"]["ok"], true) << r.dump();
}

TEST_F(CardServerHttp, NotificationsAndBatchesMoveNoMoney)
{
    const std::string token = Token(MemberQuery("8800000001", "123456"));
    const json payment = {{"jsonrpc", "2.0"},
                          {"method", "PayByCard"},
                          {"params", MemberPayment("D1", 10)},
                          {"context", {{"paymentId", "n1"}, {"token", token}}}};
    Post(payment.dump());
    json withId = payment;
    withId["id"] = 7;
    withId["context"]["paymentId"] = "n2";
    const json reply = json::parse(Post(json::array({withId}).dump()), nullptr, false);
    ASSERT_TRUE(reply.is_array()) << reply.dump();
    EXPECT_TRUE(reply[0].contains("error")) << reply.dump();
    EXPECT_EQ(Balance(), 50000);
}

TEST_F(CardServerHttp, AnUnknownOutcomeIsSettledByStatus)
{
    const std::string token = Token(MemberQuery("8800000001", "123456"));
    json r = Call("PayByCard", MemberPayment("D1", 25), {{"paymentId", "s1"}, {"token", token}});
    ASSERT_EQ(r["result"]["ok"], true) << r.dump();
    r = Call("PaymentStatus", json::array({"s1"}));
    EXPECT_EQ(r["result"]["state"], "done") << r.dump();
    // A payment the server never saw is closed by the question: it cannot
    // be charged afterwards.
    r = Call("PaymentStatus", json::array({"s2"}));
    EXPECT_EQ(r["result"]["state"], "none") << r.dump();
    const std::string later = Token(MemberQuery("8800000001", "123456"));
    r = Call("PayByCard", MemberPayment("D1", 25), {{"paymentId", "s2"}, {"token", later}});
    EXPECT_EQ(r["result"]["ok"], false) << r.dump();
    EXPECT_EQ(Balance(), 47500);

    // A reversal gives the money back, once.
    r = Call("ReverseCharge", json::array({"s1"}));
    EXPECT_EQ(r["result"]["ok"], true) << r.dump();
    r = Call("ReverseCharge", json::array({"s1"}));
    EXPECT_EQ(r["result"]["ok"], true) << r.dump();
    EXPECT_EQ(Balance(), 50000);
    r = Call("PaymentStatus", json::array({"s1"}));
    EXPECT_EQ(r["result"]["state"], "reversed") << r.dump();
}

TEST_F(CardServerHttp, PasswordGuessesLockTheCardAndTellNothing)
{
    const json unknown = Call("QueryCard", MemberQuery("8800000009", "123456"));
    const json wrong = Call("QueryCard", MemberQuery("8800000001", "000000"));
    ASSERT_EQ(wrong["result"]["ok"], false) << wrong.dump();
    EXPECT_EQ(unknown["result"], wrong["result"]);
    for (int i = 0; i < 10; ++i)
        Call("QueryCard", MemberQuery("8800000001", "00000" + std::to_string(i)));
    // Locked: the right password no longer opens the card.
    const json locked = Call("QueryCard", MemberQuery("8800000001", "123456"));
    EXPECT_EQ(locked["result"]["ok"], false) << locked.dump();
    EXPECT_FALSE(locked.dump().find("500") != std::string::npos) << locked.dump();
    // Another card is not affected.
    EXPECT_EQ(Call("QueryCard", MemberQuery("8800000002", "654321"))["result"]["ok"], true);
}

TEST_F(CardServerWithTillKeys, OnlyTillsWithAKeyAreServedAndTheJournalNamesThem)
{
    for (const std::string key : {"", "0123456789abcdef0009"}) {
        SCOPED_TRACE(key);
        tillKey_ = key;
        EXPECT_TRUE(Call("QueryCard", MemberQuery("8800000001", "123456")).is_null());
        EXPECT_EQ(status_, 401);
    }
    tillKey_ = "0123456789abcdef0002";
    const std::string token = Token(MemberQuery("8800000001", "123456"));
    ASSERT_FALSE(token.empty());
    // The token is the till's: another till cannot spend it.
    tillKey_ = "0123456789abcdef0001";
    EXPECT_EQ(
        Call("PayByCard", MemberPayment("D1", 10), {{"paymentId", "k1"}, {"token", token}})["result"]["ok"],
        false);
    tillKey_ = "0123456789abcdef0002";
    ASSERT_EQ(
        Call("PayByCard", MemberPayment("D1", 10), {{"paymentId", "k1"}, {"token", token}})["result"]["ok"],
        true);
    EXPECT_EQ(cards_.journal(QStringLiteral("till, state")), (QList<QStringList>{{"till-02", "done"}}));
}

TEST(TillKeys, AFileThatIsNotNamesAndKeysIsRefused)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const struct {
        const char* text;
        bool ok;
    } cases[] = {
        {"till-01 0123456789abcdef\n", true},
        {"# none yet\n\n", true},
        {"till-01 short\n", false},
        {"till-01\n", false},
        {"till-01 0123456789abcdef extra\n", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        QFile f(dir.filePath(QStringLiteral("tills")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(c.text);
        f.close();
        TillKeys keys;
        const Result<> loaded = keys.load(f.fileName());
        EXPECT_EQ(loaded.ok(), c.ok) << loaded.error().toStdString();
    }
    TillKeys keys;
    const Result<> missing = keys.load(dir.filePath(QStringLiteral("missing")));
    ASSERT_FALSE(missing);
    EXPECT_TRUE(missing.error().startsWith(QStringLiteral("cannot read"))) << missing.error().toStdString();
}
