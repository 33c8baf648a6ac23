#include "jsonrpc.h"

#include "base/logcategories.h"
#include "cardservice.h"

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

// One call; nothing for a notification. `inBatch`: one of several calls.
std::optional<nlohmann::json> HandleOne(const nlohmann::json& call, const RpcMethods& methods,
                                        const std::string& till, bool inBatch)
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
    const auto context = call.find("context");
    if (version == call.end() || *version != "2.0" || method == call.end() || !method->is_string() ||
        (params != call.end() && !params->is_array() && !params->is_object()) ||
        (context != call.end() && !context->is_object()))
        return Error(id, rpcerror::InvalidRequest, "Invalid Request");

    std::optional<nlohmann::json> reply;
    const auto found = methods.find(method->get<std::string>());
    if (found == methods.end()) {
        reply = Error(id, rpcerror::MethodNotFound, "Method not found");
    } else if (found->second.singleCallOnly() && (notification || inBatch)) {
        // Refused unanswered would look done to nobody: answer even a
        // notification, with a null id.
        qCWarning(lcCardServer).noquote() << method->get<std::string>().c_str()
                                          << "refused:" << (notification ? "notification" : "in a batch");
        return Error(notification ? nlohmann::json() : id, rpcerror::InvalidRequest,
                     "Invalid Request: " + method->get<std::string>() + " must be a single call with an id");
    } else {
        try {
            CallContext callContext;
            if (context != call.end())
                callContext.context = *context;
            callContext.till = till;
            const nlohmann::json result =
                found->second(params != call.end() ? *params : nlohmann::json::array(), callContext);
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

std::string CallContext::text(const char* name) const
{
    const auto v = context.find(name);
    return v != context.end() && v->is_string() ? v->get<std::string>() : std::string();
}

std::optional<std::string> HandleJsonRpc(const std::string& body, const RpcMethods& methods,
                                         const std::string& till)
{
    const nlohmann::json request = nlohmann::json::parse(body, nullptr, false);
    if (request.is_discarded())
        return Error(nullptr, rpcerror::ParseError, "Parse error").dump();
    if (!request.is_array()) {
        const auto reply = HandleOne(request, methods, till, false);
        return reply ? std::optional<std::string>(reply->dump()) : std::nullopt;
    }
    if (request.empty())
        return Error(nullptr, rpcerror::InvalidRequest, "Invalid Request").dump();
    nlohmann::json replies = nlohmann::json::array();
    for (const auto& call : request) {
        if (auto reply = HandleOne(call, methods, till, true))
            replies.push_back(*reply);
    }
    if (replies.empty())
        return std::nullopt;
    return replies.dump();
}

} // namespace qiantai::cardd
