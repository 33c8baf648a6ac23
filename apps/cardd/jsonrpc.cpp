#include "jsonrpc.h"

#include "cardservice.h"
#include "host/logcategories.h"

#include <QDebug>

namespace qiantai::cardd {

namespace {

nlohmann::json Error(const nlohmann::json& id, int code, const std::string& message)
{
    return {{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", message}}}};
}

bool ValidId(const nlohmann::json& id)
{
    return id.is_string() || id.is_number() || id.is_null();
}

// One call; nothing for a notification.
std::optional<nlohmann::json> HandleOne(const nlohmann::json& call, const RpcMethods& methods)
{
    if (!call.is_object())
        return Error(nullptr, rpcerror::InvalidRequest, "Invalid Request");
    const bool notification = !call.contains("id");
    const nlohmann::json id = notification ? nlohmann::json() : call["id"];
    if (!ValidId(id))
        return Error(nullptr, rpcerror::InvalidRequest, "Invalid Request");
    const auto version = call.find("jsonrpc");
    const auto method = call.find("method");
    const auto params = call.find("params");
    if (version == call.end() || *version != "2.0" || method == call.end() || !method->is_string() ||
        (params != call.end() && !params->is_array() && !params->is_object()))
        return Error(id, rpcerror::InvalidRequest, "Invalid Request");

    std::optional<nlohmann::json> reply;
    const auto found = methods.find(method->get<std::string>());
    if (found == methods.end()) {
        reply = Error(id, rpcerror::MethodNotFound, "Method not found");
    } else {
        try {
            const nlohmann::json result =
                found->second(params != call.end() ? *params : nlohmann::json::array());
            reply = nlohmann::json{{"jsonrpc", "2.0"}, {"id", id}, {"result", result}};
        } catch (const InvalidParams& e) {
            reply = Error(id, rpcerror::InvalidParams, std::string("Invalid params: ") + e.what());
        } catch (const std::exception& e) {
            qCWarning(lcCardServer).noquote()
                << "internal error in" << method->get<std::string>().c_str() << ":" << e.what();
            reply = Error(id, rpcerror::InternalError, "Internal error");
        }
    }
    if (notification)
        return std::nullopt;
    return reply;
}

} // namespace

std::optional<std::string> HandleJsonRpc(const std::string& body, const RpcMethods& methods)
{
    const nlohmann::json request = nlohmann::json::parse(body, nullptr, false);
    if (request.is_discarded())
        return Error(nullptr, rpcerror::ParseError, "Parse error").dump();
    if (!request.is_array()) {
        const auto reply = HandleOne(request, methods);
        return reply ? std::optional<std::string>(reply->dump()) : std::nullopt;
    }
    if (request.empty())
        return Error(nullptr, rpcerror::InvalidRequest, "Invalid Request").dump();
    nlohmann::json replies = nlohmann::json::array();
    for (const auto& call : request) {
        if (auto reply = HandleOne(call, methods))
            replies.push_back(*reply);
    }
    if (replies.empty())
        return std::nullopt;
    return replies.dump();
}

} // namespace qiantai::cardd
