#include "cardserver.h"

#include "cardservice.h"

#include <httplib.h>

#include <thread>

namespace qiantai::cardd {

CardServer::CardServer(RpcMethods methods) : methods_(std::move(methods)) {}

CardServer::~CardServer()
{
    stop();
}

bool CardServer::bind(const std::string& address, int port, const ServerTls& tls, std::string* error)
{
    if (!tls.certificateFile.empty() || !tls.keyFile.empty()) {
        auto ssl = std::make_unique<httplib::SSLServer>(tls.certificateFile.c_str(), tls.keyFile.c_str());
        if (!ssl->is_valid()) {
            *error = "cannot load the TLS certificate or key";
            return false;
        }
        server_ = std::move(ssl);
    } else {
        server_ = std::make_unique<httplib::Server>();
    }
    server_->set_payload_max_length(64 * 1024);
    server_->set_keep_alive_max_count(1);
    auto handler = [this](const httplib::Request& request, httplib::Response& response) {
        std::string till = request.remote_addr;
        if (!tillKeys_.empty()) {
            const std::string authorization = request.get_header_value("Authorization");
            const std::string bearer = "Bearer ";
            till = authorization.compare(0, bearer.size(), bearer) == 0
                       ? tillKeys_.tillOf(authorization.substr(bearer.size()))
                       : std::string();
            if (till.empty()) {
                response.status = 401;
                response.set_header("WWW-Authenticate", "Bearer");
                return;
            }
        }
        const auto reply = HandleJsonRpc(request.body, methods_, till);
        if (reply)
            response.set_content(*reply, "application/json");
        else
            response.status = 204;
    };
    server_->Post("/rpc", handler);
    server_->Post("/", handler);

    if (port == 0) {
        port_ = server_->bind_to_any_port(address);
        if (port_ <= 0) {
            *error = "cannot bind " + address;
            return false;
        }
    } else {
        if (!server_->bind_to_port(address, port)) {
            *error = "cannot bind " + address + ":" + std::to_string(port);
            return false;
        }
        port_ = port;
    }
    return true;
}

void CardServer::run()
{
    runStarted_ = true;
    if (server_ && !stopRequested_)
        server_->listen_after_bind();
    runFinished_ = true;
}

void CardServer::stop()
{
    stopRequested_ = true;
    if (!server_ || !runStarted_)
        return;
    // The server ignores a stop until its accept loop has begun.
    while (!server_->is_running() && !runFinished_)
        std::this_thread::yield();
    server_->stop();
}

RpcMethods CardMethods(CardService& service)
{
    // The methods that check passwords or move money run only as single
    // calls with an id.
    const bool single = true;
    return {
        {"QueryCard",
         RpcMethod([&service](const nlohmann::json& params,
                              const CallContext& call) { return service.queryCard(params, call); },
                   single)},
        {"PayByCard",
         RpcMethod([&service](const nlohmann::json& params,
                              const CallContext& call) { return service.payByCard(params, call); },
                   single)},
        {"PaymentStatus", RpcMethod([&service](const nlohmann::json& params, const CallContext& call) {
             return service.paymentStatus(params, call);
         })},
        {"ReverseCharge",
         RpcMethod([&service](const nlohmann::json& params,
                              const CallContext& call) { return service.reverseCharge(params, call); },
                   single)},
        {"JournalForDay", RpcMethod([&service](const nlohmann::json& params, const CallContext& call) {
             return service.journalForDay(params, call);
         })},
    };
}

} // namespace qiantai::cardd
