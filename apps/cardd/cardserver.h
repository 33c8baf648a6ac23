// HTTP transport of the card front-end: POST /rpc with a JSON-RPC 2.0 body.
#pragma once

#include "jsonrpc.h"
#include "tillkeys.h"

#include <atomic>
#include <memory>
#include <string>

namespace httplib {
class Server;
}

namespace qiantai::cardd {

struct ServerTls {
    std::string certificateFile; // PEM; both empty: plain HTTP
    std::string keyFile;
};

class CardServer {
public:
    explicit CardServer(RpcMethods methods);
    ~CardServer();
    CardServer(const CardServer&) = delete;
    CardServer& operator=(const CardServer&) = delete;

    // With keys, only a till that sends one of them is served (others get
    // HTTP 401), known by its name; without, a caller is known by its
    // address. Call before bind().
    void setTillKeys(TillKeys keys) { tillKeys_ = std::move(keys); }
    // Binds `address`:`port` (port 0: any free port). False with the reason.
    bool bind(const std::string& address, int port, const ServerTls& tls, std::string* error);
    int port() const { return port_; }
    // Serves until stop(); call from one thread after bind().
    void run();
    // Safe from any thread.
    void stop();

private:
    RpcMethods methods_;
    TillKeys tillKeys_;
    std::unique_ptr<httplib::Server> server_;
    int port_ = 0;
    std::atomic<bool> stopRequested_{false};
    std::atomic<bool> runStarted_{false};
    std::atomic<bool> runFinished_{false};
};

// The methods QueryCard, PayByCard, PaymentStatus and ReverseCharge of
// `service`.
class CardService;
RpcMethods CardMethods(CardService& service);

} // namespace qiantai::cardd
