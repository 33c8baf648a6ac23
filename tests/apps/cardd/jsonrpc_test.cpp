#include "cardservice.h"
#include "jsonrpc.h"

#include <gtest/gtest.h>

using namespace qiantai::cardd;
using nlohmann::json;

namespace {

// Echo answers its params; Bad refuses them as InvalidParams; Broken throws.
RpcMethods TestMethods(int* calls)
{
    return {
        {"Echo",
         [calls](const json& params) {
             ++*calls;
             return json{{"ok", true}, {"answer", params}};
         }},
        {"Bad", [](const json&) -> json { throw InvalidParams("element 1 is not a text"); }},
        {"Broken", [](const json&) -> json { throw std::runtime_error("database is locked"); }},
    };
}

json Call(const std::string& body, int* calls)
{
    const auto reply = HandleJsonRpc(body, TestMethods(calls));
    return reply ? json::parse(*reply) : json();
}

} // namespace

TEST(JsonRpc, ErrorsOfTheProtocol)
{
    const struct {
        const char* body;
        int code;
        json id;
    } cases[] = {
        {"{not json", -32700, nullptr},
        {"42", -32600, nullptr},
        {"[]", -32600, nullptr},
        {R"({"jsonrpc":"1.0","id":1,"method":"Echo","params":[]})", -32600, 1},
        {R"({"jsonrpc":"2.0","id":1,"method":7})", -32600, 1},
        {R"({"jsonrpc":"2.0","id":{"a":1},"method":"Echo"})", -32600, nullptr},
        {R"({"jsonrpc":"2.0","id":"x","method":"Echo","params":"0"})", -32600, "x"},
        {R"({"jsonrpc":"2.0","id":2,"method":"Nope","params":[]})", -32601, 2},
        {R"({"jsonrpc":"2.0","id":3,"method":"Bad","params":[]})", -32602, 3},
        {R"({"jsonrpc":"2.0","id":4,"method":"Broken","params":[]})", -32603, 4},
    };
    int calls = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.body);
        const json reply = Call(c.body, &calls);
        EXPECT_EQ(reply["jsonrpc"], "2.0");
        EXPECT_EQ(reply["id"], c.id);
        EXPECT_EQ(reply["error"]["code"], c.code);
        EXPECT_FALSE(reply.contains("result"));
    }
    // The internal error's cause stays in the server.
    EXPECT_EQ(Call(R"({"jsonrpc":"2.0","id":4,"method":"Broken"})", &calls)["error"]["message"],
              "Internal error");
    EXPECT_EQ(calls, 0);
}

TEST(JsonRpc, CallsNotificationsAndBatches)
{
    int calls = 0;
    json reply = Call(R"({"jsonrpc":"2.0","id":"a","method":"Echo","params":["0","1"]})", &calls);
    EXPECT_EQ(reply["id"], "a");
    EXPECT_EQ(reply["result"]["answer"], json::array({"0", "1"}));

    EXPECT_FALSE(HandleJsonRpc(R"({"jsonrpc":"2.0","method":"Echo","params":[]})", TestMethods(&calls)));
    EXPECT_EQ(calls, 2); // a notification still runs

    reply = Call(R"([{"jsonrpc":"2.0","id":1,"method":"Echo","params":[1]},
                     {"jsonrpc":"2.0","method":"Echo","params":[2]},
                     5,
                     {"jsonrpc":"2.0","id":2,"method":"Nope"}])",
                 &calls);
    ASSERT_TRUE(reply.is_array());
    ASSERT_EQ(reply.size(), 3u);
    EXPECT_EQ(reply[0]["result"]["answer"], json::array({1}));
    EXPECT_EQ(reply[1]["error"]["code"], -32600);
    EXPECT_EQ(reply[2]["error"]["code"], -32601);
    EXPECT_FALSE(HandleJsonRpc(R"([{"jsonrpc":"2.0","method":"Echo"}])", TestMethods(&calls)));
}
