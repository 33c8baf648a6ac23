// JSON-RPC 2.0 framing of the card front-end: single calls, batches,
// notifications and the standard error objects.
#pragma once

#include <nlohmann/json.hpp>

#include <functional>
#include <map>
#include <optional>
#include <string>

namespace qiantai::cardd {

namespace rpcerror {
constexpr int ParseError = -32700;
constexpr int InvalidRequest = -32600;
constexpr int MethodNotFound = -32601;
constexpr int InvalidParams = -32602;
constexpr int InternalError = -32603;
} // namespace rpcerror

using RpcMethod = std::function<nlohmann::json(const nlohmann::json& params)>;
using RpcMethods = std::map<std::string, RpcMethod>;

// The reply body, or nothing when the request was only notifications.
// Methods throw InvalidParams for bad params; any other exception is an
// internal error (its text goes to the log, not to the caller).
std::optional<std::string> HandleJsonRpc(const std::string& body, const RpcMethods& methods);

} // namespace qiantai::cardd
