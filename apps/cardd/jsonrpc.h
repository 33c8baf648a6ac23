// JSON-RPC 2.0 framing of the card front-end: single calls, batches,
// notifications and the standard error objects.
#pragma once

#include <nlohmann/json.hpp>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>

namespace qiantai::cardd {

namespace rpcerror {
constexpr int ParseError = -32700;
constexpr int InvalidRequest = -32600;
constexpr int MethodNotFound = -32601;
constexpr int InvalidParams = -32602;
constexpr int InternalError = -32603;
} // namespace rpcerror

// What a call carries besides its params: the caller's "context" member
// (payment id, charge token) and the till the transport knows it as.
struct CallContext {
    nlohmann::json context = nlohmann::json::object();
    std::string till;

    // A text member of `context`; empty when missing or not a text.
    std::string text(const char* name) const;
};

class RpcMethod {
public:
    using Function = std::function<nlohmann::json(const nlohmann::json& params, const CallContext& call)>;

    RpcMethod() = default;
    // `f` takes the params, or the params and the call's context. A method
    // that is `singleCallOnly` runs only as a lone call with an id: never as
    // a notification (whose outcome nobody would learn) nor inside a batch.
    template <typename F> RpcMethod(F f, bool singleCallOnly = false) : singleCallOnly_(singleCallOnly)
    {
        if constexpr (std::is_invocable_v<F, const nlohmann::json&, const CallContext&>)
            function_ = std::move(f);
        else
            function_ = [f = std::move(f)](const nlohmann::json& params, const CallContext&) {
                return f(params);
            };
    }

    nlohmann::json operator()(const nlohmann::json& params, const CallContext& call) const
    {
        return function_(params, call);
    }
    bool singleCallOnly() const { return singleCallOnly_; }

private:
    Function function_;
    bool singleCallOnly_ = false;
};

using RpcMethods = std::map<std::string, RpcMethod>;

// The reply body, or nothing when the request was only notifications.
// Methods throw InvalidParams for bad params; any other exception is an
// internal error (its text goes to the log, not to the caller).
std::optional<std::string> HandleJsonRpc(const std::string& body, const RpcMethods& methods,
                                         const std::string& till = std::string());

} // namespace qiantai::cardd
