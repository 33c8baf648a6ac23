// Concurrent tills against the card server on loopback: queries and charges
// with random resends and client-side time-outs. Afterwards the journal, the
// balances and the charges the tills believe they made agree exactly.
// QIANTAI_SOAK_CLIENTS and QIANTAI_SOAK_OPERATIONS (per client) make it
// larger (scripts/card-soak); the CTest run is small.
#include "cardserverkit.h"
#include "pgserver.h"

#include <QTemporaryDir>
#include <QUrlQuery>

#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <map>
#include <mutex>
#include <random>
#include <set>
#include <thread>
#include <vector>

using namespace qiantai::cardd;
using nlohmann::json;
using qiantai::Result;

namespace {

int EnvCount(const char* name, int fallback)
{
    bool ok = false;
    const int n = qEnvironmentVariableIntValue(name, &ok);
    return ok && n > 0 ? n : fallback;
}

constexpr int Cards = 12;
constexpr qint64 StartFen = 100000000;

QString CardNo(int i)
{
    return QStringLiteral("66%1").arg(i, 8, 10, QLatin1Char('0'));
}

struct Figures {
    std::atomic<int> queries{0}, charges{0}, made{0}, refused{0}, resends{0}, timeouts{0}, settledMade{0},
        settledNone{0};
};

// One till: its own connection per call, as the module makes them.
class Till {
public:
    Till(int port, int seed, Figures& figures) : port_(port), random_(seed), figures_(figures) {}

    // The charges this till believes were made: payment id -> (card, fen).
    std::map<std::string, std::pair<QString, qint64>> made;

    void run(int operations)
    {
        for (int n = 0; n < operations; ++n) {
            const int card = std::uniform_int_distribution<int>(0, Cards - 1)(random_);
            const json query =
                call("QueryCard", json::array({"0", CardNo(card).toStdString(), "123456", "1", "", "0101"}),
                     json::object(), 5000);
            ++figures_.queries;
            const std::string token = query.is_object() ? query.value("token", std::string()) : std::string();
            if (token.empty() || std::uniform_int_distribution<int>(0, 3)(random_) == 0)
                continue; // a query alone
            charge(card, token, n);
        }
    }

private:
    json call(const std::string& method, const json& params, const json& context, int readMs,
              bool* lost = nullptr)
    {
        httplib::Client client("127.0.0.1", port_);
        client.set_keep_alive(false);
        client.set_read_timeout(readMs / 1000, (readMs % 1000) * 1000);
        const json body = {
            {"jsonrpc", "2.0"}, {"id", ++id_}, {"method", method}, {"params", params}, {"context", context}};
        const auto reply = client.Post("/rpc", body.dump(), "application/json");
        if (!reply || reply->status != 200) {
            if (lost)
                *lost = true;
            return json();
        }
        const json answer = json::parse(reply->body, nullptr, false);
        if (answer.is_discarded() || !answer.contains("result")) {
            if (lost)
                *lost = true; // an internal error: the outcome is not known
            return json();
        }
        return answer["result"];
    }

    void charge(int card, const std::string& token, int n)
    {
        const qint64 fen = std::uniform_int_distribution<int>(1, 500)(random_);
        const std::string id = "soak-" + std::to_string(port_) + "-" +
                               std::to_string(reinterpret_cast<quintptr>(this)) + "-" + std::to_string(n);
        const json params =
            json::array({"0", "D" + std::to_string(n % 7), "0101", CardNo(card).toStdString(),
                         "M" + CardNo(card).toStdString(), double(fen) / 100.0, "", "0012", "soak", ""});
        const json context = {{"paymentId", id}, {"token", token}};
        // One charge in five gets an answer too impatient to wait for.
        const bool impatient = std::uniform_int_distribution<int>(0, 4)(random_) == 0;
        bool lost = false;
        json r = call("PayByCard", params, context, impatient ? 1 : 5000, &lost);
        ++figures_.charges;
        bool done = !lost && r.value("ok", false);
        if (lost) {
            ++figures_.timeouts;
            // Settled as the module settles it: by the payment's status.
            json status;
            for (int attempt = 0; attempt < 20 && !status.is_object(); ++attempt)
                status = call("PaymentStatus", json::array({id}), json::object(), 5000);
            ASSERT_TRUE(status.is_object()) << "no status for " << id;
            done = status.value("state", std::string()) == "done";
            (done ? figures_.settledMade : figures_.settledNone)++;
        } else if (!done) {
            ++figures_.refused;
        }
        if (done) {
            made[id] = {CardNo(card), fen};
            ++figures_.made;
            // Sometimes the till resends a payment it already knows done.
            if (std::uniform_int_distribution<int>(0, 5)(random_) == 0) {
                r = call("PayByCard", params, context, 5000);
                ++figures_.resends;
                EXPECT_EQ(r.value("ok", false), true) << r.dump();
            }
        }
    }

    int port_;
    std::mt19937 random_;
    Figures& figures_;
    long long id_ = 0;
};

} // namespace

namespace {

// A new database on the tests' private PostgreSQL server; the driver stays
// QSQLITE when there is none.
StoreLocation PostgresLocation()
{
    StoreLocation l;
    qiantai::host::test::PgServer* server = qiantai::host::test::PgServer::instance();
    if (!server)
        return l;
    const QUrl url(server->createDatabase());
    const QUrlQuery query(url);
    l.driver = QStringLiteral("QPSQL");
    l.database = url.path().mid(1);
    l.host = query.queryItemValue(QStringLiteral("host"));
    l.port = query.queryItemValue(QStringLiteral("port")).toInt();
    l.user = query.queryItemValue(QStringLiteral("user"));
    return l;
}

class CardSoak : public ::testing::TestWithParam<const char*> {};

} // namespace

INSTANTIATE_TEST_SUITE_P(Stores, CardSoak, ::testing::Values("sqlite", "postgresql"),
                         [](const auto& info) { return std::string(info.param); });

TEST_P(CardSoak, JournalBalancesAndTheTillsAgree)
{
    const int clients = EnvCount("QIANTAI_SOAK_CLIENTS", 4);
    const int operations = EnvCount("QIANTAI_SOAK_OPERATIONS", 25);
    const bool postgres = std::string(GetParam()) == "postgresql";
    const StoreLocation on = postgres ? PostgresLocation() : StoreLocation();
    if (postgres && on.driver != QLatin1String("QPSQL"))
        GTEST_SKIP() << "no PostgreSQL server";
    qiantai::test::DemoCardStore cards(false, on);
    ASSERT_TRUE(cards.ok) << cards.error.toStdString();
    CardStore& store = *cards.store;
    QString error;
    for (int i = 0; i < Cards; ++i) {
        const MemberCard card{CardNo(i), QStringLiteral("M") + CardNo(i), StartFen, 0,
                              QStringLiteral("active")};
        const Result<> put = store.putMemberCard(card, "123456", HashCost::Minimum);
        ASSERT_TRUE(put) << put.error().toStdString();
    }
    ServiceSettings settings;
    settings.queriesPerMinute = 0; // every till here is one loopback address
    CardService service(store, settings);
    ServerLimits limits;
    limits.connectionsPerClient = 0; // the same
    auto server =
        std::make_unique<qiantai::test::RunningCardServer>(CardMethods(service), TillKeys(), limits);
    ASSERT_TRUE(server->ok) << server->error;

    Figures figures;
    std::vector<std::unique_ptr<Till>> tills;
    for (int c = 0; c < clients; ++c)
        tills.push_back(std::make_unique<Till>(server->port(), 1000 + c, figures));
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::thread> threads;
    for (auto& till : tills)
        threads.emplace_back([&till, operations] { till->run(operations); });
    for (auto& t : threads)
        t.join();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // Charges whose answers were lost may still be finishing.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    server.reset();

    std::map<std::string, std::pair<QString, qint64>> believed;
    std::map<QString, qint64> believedFen;
    for (const auto& till : tills) {
        for (const auto& [id, charge] : till->made) {
            believed[id] = charge;
            believedFen[charge.first] += charge.second;
        }
    }
    std::map<std::string, std::pair<QString, qint64>> journalled;
    for (const QStringList& row : cards.journal(QStringLiteral("request_key, card_no, amount_fen"),
                                                QStringLiteral("state = 'done' AND card_type = '0'")))
        journalled[row[0].mid(4).toStdString()] = {row[1], row[2].toLongLong()};
    EXPECT_EQ(journalled, believed);
    for (int i = 0; i < Cards; ++i) {
        const Result<MemberCard> card = store.readMember(CardNo(i));
        ASSERT_TRUE(card) << card.error().toStdString();
        EXPECT_EQ(StartFen - card.value().balanceFen, believedFen[CardNo(i)]) << CardNo(i).toStdString();
    }
    std::printf(
        "card soak (%s): %d clients x %d operations in %.1f s: %d queries, %d charges (%d made, %d refused), "
        "%d answers lost (settled by status: %d made, %d not made), %d resends; journal rows %zu = "
        "charges the tills believe %zu\n",
        GetParam(), clients, operations, seconds, figures.queries.load(), figures.charges.load(),
        figures.made.load(), figures.refused.load(), figures.timeouts.load(), figures.settledMade.load(),
        figures.settledNone.load(), figures.resends.load(), journalled.size(), believed.size());
}
