// The card server's limits through loopback: bodies over the cap are
// refused whatever their transfer encoding and without the server holding
// them, slow or surplus connections of one client are closed while the
// till is served, and the total of connections holds.
#include "cardserverkit.h"
#include "rawconnection.h"

#include <QFile>

#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

using namespace qiantai::cardd;
using qiantai::test::RawConnection;
using namespace std::chrono_literals;

namespace {

// Generous: the server answers in milliseconds.
constexpr auto Wait = 10s;

const std::string Query =
    R"({"jsonrpc":"2.0","id":1,"method":"QueryCard","params":["0","8800000001","123456","1","","0101"]})";

std::string Head(const std::string& framing)
{
    return "POST /rpc HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: application/json\r\n" + framing + "\r\n";
}

std::string Chunk(const std::string& data)
{
    char size[32];
    std::snprintf(size, sizeof size, "%zx\r\n", data.size());
    return size + data + "\r\n";
}

// Resident memory of this process (the server runs in it), in KiB.
long ResidentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

bool WaitFor(const std::function<bool()>& done)
{
    const auto end = std::chrono::steady_clock::now() + Wait;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

class CardServerLimits : public ::testing::Test {
protected:
    void start(ServerLimits limits)
    {
        ASSERT_TRUE(cards_.ok) << cards_.error.toStdString();
        service_ = std::make_unique<CardService>(*cards_.store);
        server_ =
            std::make_unique<qiantai::test::RunningCardServer>(CardMethods(*service_), TillKeys(), limits);
        ASSERT_TRUE(server_->ok) << server_->error;
    }
    int port() const { return server_->port(); }
    int open() const { return server_->server().openConnections(); }

    // A till's ordinary card query: answered with the card.
    void expectTillServed()
    {
        httplib::Client client("127.0.0.1", port());
        client.set_connection_timeout(10, 0);
        client.set_read_timeout(10, 0);
        const auto reply = client.Post("/rpc", Query, "application/json");
        ASSERT_TRUE(reply) << httplib::to_string(reply.error());
        EXPECT_EQ(reply->status, 200);
        EXPECT_NE(reply->body.find("\"ok\":true"), std::string::npos) << reply->body;
    }

    qiantai::test::DemoCardStore cards_;
    std::unique_ptr<CardService> service_;
    std::unique_ptr<qiantai::test::RunningCardServer> server_;
};

} // namespace

TEST_F(CardServerLimits, ABodyOverTheCapIsRefusedUnreadWhateverItsFraming)
{
    ServerLimits limits;
    limits.bodyBytes = 64 * 1024;
    start(limits);
    const std::string block(64 * 1024, 'x');
    const std::size_t total = 64u * 1024 * 1024;
    const long before = ResidentKiB();
    const struct {
        const char* name;
        std::string head;
        std::string unit; // sent again and again, up to `total`
        bool answered;    // with HTTP 413; else the connection is just closed
    } cases[] = {
        // Found out at the cap, in the middle of the body.
        {"chunked", Head("Transfer-Encoding: chunked\r\n"), Chunk(block), false},
        {"declared length", Head("Content-Length: " + std::to_string(total) + "\r\n"), block, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RawConnection connection(port());
        ASSERT_TRUE(connection.connected);
        std::size_t sent = 0;
        bool sending = connection.send(c.head);
        while (sending && sent < total && (sending = connection.send(c.unit)))
            sent += c.unit.size();
        bool closed = false;
        const std::string reply = connection.receive(Wait, &closed);
        // The server stopped reading long before the end (the socket
        // buffers hold a few MiB at most).
        EXPECT_LT(sent, total / 2);
        EXPECT_TRUE(closed);
        if (c.answered)
            EXPECT_EQ(reply.rfind("HTTP/1.1 413", 0), 0u) << reply;
        else
            EXPECT_EQ(reply, "");
    }
    // The server did not keep what it was sent.
    EXPECT_LT(ResidentKiB() - before, 16 * 1024) << "KiB before: " << before;
    expectTillServed();

    // Under the cap a chunked body is an ordinary call.
    RawConnection chunked(port());
    ASSERT_TRUE(chunked.send(Head("Transfer-Encoding: chunked\r\n") + Chunk(Query.substr(0, 20)) +
                             Chunk(Query.substr(20)) + "0\r\n\r\n"));
    bool closed = false;
    const std::string reply = chunked.receive(Wait, &closed);
    EXPECT_EQ(reply.rfind("HTTP/1.1 200", 0), 0u) << reply;
    EXPECT_NE(reply.find("\"ok\":true"), std::string::npos) << reply;
}

TEST_F(CardServerLimits, SlowClientsHoldNoWorkerAndOneClientGetsItsShareOnly)
{
    ServerLimits limits;
    limits.threads = 2;
    limits.connectionsPerClient = 3;
    start(limits);
    // Heads that never end: ten from one address, one each from ten others.
    std::vector<std::unique_ptr<RawConnection>> slow;
    for (int i = 0; i < 10; ++i) {
        slow.push_back(std::make_unique<RawConnection>(port(), "127.0.0.2"));
        const std::string other = "127.0.0." + std::to_string(10 + i);
        slow.push_back(std::make_unique<RawConnection>(port(), other.c_str()));
    }
    for (auto& c : slow) {
        ASSERT_TRUE(c->connected);
        c->send("POST /rpc HTTP/1.1\r\nHost: 127.0.0.1\r\n");
    }
    // Three of 127.0.0.2 are kept, the other seven closed at once.
    std::vector<bool> closed(slow.size(), false);
    const auto closedFromOne = [&] {
        int n = 0;
        for (std::size_t i = 0; i < slow.size(); i += 2) {
            bool now = false;
            if (!closed[i])
                slow[i]->receive(10ms, &now);
            closed[i] = closed[i] || now;
            n += closed[i] ? 1 : 0;
        }
        return n;
    };
    EXPECT_TRUE(WaitFor([&] { return closedFromOne() >= 7; }));
    EXPECT_EQ(closedFromOne(), 7);
    EXPECT_TRUE(WaitFor([&] { return open() == 13; })) << open();
    // The till is served all the same, by a worker none of them holds.
    expectTillServed();
}

TEST_F(CardServerLimits, TheTotalOfConnectionsHolds)
{
    ServerLimits limits;
    limits.threads = 2;
    limits.connections = 4;
    limits.connectionsPerClient = 0;
    start(limits);
    std::vector<std::unique_ptr<RawConnection>> held;
    for (int i = 0; i < 4; ++i) {
        const std::string from = "127.0.0." + std::to_string(20 + i);
        held.push_back(std::make_unique<RawConnection>(port(), from.c_str()));
        ASSERT_TRUE(held.back()->send("POST /rpc HTTP/1.1\r\n"));
    }
    ASSERT_TRUE(WaitFor([&] { return open() == 4; })) << open();
    // A fifth client is not served while the four hold their places: its
    // connection waits unaccepted or is closed.
    RawConnection fifth(port(), "127.0.0.30");
    fifth.send(Head("Content-Length: " + std::to_string(Query.size()) + "\r\n") + Query);
    bool closed = false;
    const std::string early = fifth.receive(1s, &closed);
    EXPECT_TRUE(early.empty()) << early;
    EXPECT_EQ(open(), 4);
    // Once they are gone the server takes connections again.
    held.clear();
    ASSERT_TRUE(WaitFor([&] { return open() <= 1; })) << open();
    if (!closed) {
        const std::string late = fifth.receive(Wait, &closed);
        EXPECT_EQ(late.rfind("HTTP/1.1 200", 0), 0u) << late;
    }
    expectTillServed();
}

TEST_F(CardServerLimits, AConnectionTooSlowIsClosed)
{
    const struct {
        const char* name;
        unsigned idleSeconds;
        unsigned requestSeconds;
        std::chrono::milliseconds pace; // between bytes of the head
    } cases[] = {
        {"silent after part of the head", 1, 600, 60s},
        {"a byte now and then", 600, 2, 300ms},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ServerLimits limits;
        limits.idleSeconds = c.idleSeconds;
        limits.requestSeconds = c.requestSeconds;
        start(limits);
        RawConnection connection(port());
        ASSERT_TRUE(connection.send("POST /rpc HTTP/1.1\r\n"));
        const std::string rest =
            "Host: 127.0.0.1\r\nContent-Type: application/json\r\nX-Padding: " + std::string(200, 'p') +
            "\r\n\r\n";
        bool closed = false;
        std::string reply;
        for (std::size_t i = 0; i < rest.size() && !closed; ++i) {
            reply += connection.receive(c.pace, &closed);
            if (!closed)
                connection.send(rest.substr(i, 1));
        }
        // Closed before the head was complete, with no answer to it.
        EXPECT_TRUE(closed);
        EXPECT_EQ(reply.find("HTTP/1.1 200"), std::string::npos) << reply;
        expectTillServed();
        server_.reset();
    }
}

TEST_F(CardServerLimits, AStopLetsTheRequestUnderWayBeAnswered)
{
    ASSERT_TRUE(cards_.ok) << cards_.error.toStdString();
    service_ = std::make_unique<CardService>(*cards_.store);
    RpcMethods methods = CardMethods(*service_);
    std::atomic<bool> entered{false};
    const RpcMethod query = methods["QueryCard"];
    methods["QueryCard"] = RpcMethod(
        [&](const nlohmann::json& params, const CallContext& call) {
            entered = true;
            std::this_thread::sleep_for(500ms);
            return query(params, call);
        },
        true);
    server_ = std::make_unique<qiantai::test::RunningCardServer>(methods);
    ASSERT_TRUE(server_->ok) << server_->error;
    int status = 0;
    std::string body;
    std::thread till([&] {
        httplib::Client client("127.0.0.1", port());
        client.set_read_timeout(10, 0);
        if (const auto reply = client.Post("/rpc", Query, "application/json")) {
            status = reply->status;
            body = reply->body;
        }
    });
    ASSERT_TRUE(WaitFor([&] { return entered.load(); }));
    server_.reset(); // stop() and the end of run()
    till.join();
    EXPECT_EQ(status, 200);
    EXPECT_NE(body.find("\"ok\":true"), std::string::npos) << body;
}
