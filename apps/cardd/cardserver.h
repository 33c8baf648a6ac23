// HTTP transport of the card front-end: POST /rpc with a JSON-RPC 2.0 body,
// served by libmicrohttpd with bounded bodies, connections and times.
#pragma once

#include "jsonrpc.h"
#include "tillkeys.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <string>

struct MHD_Daemon;
struct MHD_Connection;

namespace qiantai::cardd {

struct ServerTls {
    std::string certificateFile; // PEM; both empty: plain HTTP
    std::string keyFile;
    // PEM of the authority that signs the tills' certificates; set: a till
    // must present a certificate it signed, whose common name names the till.
    std::string clientCaFile;
};

struct ServerLimits {
    std::size_t bodyBytes = 64 * 1024;        // larger request bodies get HTTP 413
    unsigned connections = 64;                // open at once, all clients
    unsigned connectionsPerClient = 8;        // open at once from one address
    unsigned idleSeconds = 10;                // a connection that sends nothing is closed
    unsigned requestSeconds = 30;             // to send a whole request
    unsigned threads = 4;                     // that serve requests
    std::size_t connectionMemory = 32 * 1024; // per connection, for the request head
};

class CardServer {
public:
    explicit CardServer(RpcMethods methods, ServerLimits limits = ServerLimits());
    ~CardServer();
    CardServer(const CardServer&) = delete;
    CardServer& operator=(const CardServer&) = delete;

    // With keys, only a till that sends one of them is served (others get
    // HTTP 401), known by its name; without, a caller is known by its
    // address (or by its certificate, see ServerTls). Call before bind().
    void setTillKeys(TillKeys keys) { tillKeys_ = std::move(keys); }
    // Binds `address`:`port` (port 0: any free port) and starts serving.
    // False with the reason.
    bool bind(const std::string& address, int port, const ServerTls& tls, std::string* error);
    int port() const { return port_; }
    // Returns after stop(), once the requests under way are answered (or the
    // request time has run out); call from one thread after bind().
    void run();
    // Safe from any thread.
    void stop();

    // Connections open now.
    int openConnections() const;

private:
    struct Callbacks; // the daemon's callbacks
    friend struct Callbacks;
    struct Connection {
        int socket = -1;
        std::chrono::steady_clock::time_point opened;
        bool answering = false; // its request is complete: no more time limit
    };

    // The till that sent the request on `connection`; empty: refused, with
    // the HTTP status in *status.
    std::string tillOf(MHD_Connection* connection, unsigned* status) const;
    // Closes the connections whose request has taken longer than allowed.
    void closeLateConnections();

    RpcMethods methods_;
    ServerLimits limits_;
    TillKeys tillKeys_;
    bool clientCertificates_ = false;
    std::string tlsKey_, tlsCertificate_, tlsClientCa_; // PEM texts the daemon reads
    int listenSocket_ = -1;
    MHD_Daemon* daemon_ = nullptr;
    int port_ = 0;

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool stopRequested_ = false;
    int busy_ = 0; // requests being answered
    std::map<MHD_Connection*, Connection> connections_;
};

// The methods QueryCard, PayByCard, PaymentStatus and ReverseCharge of
// `service`.
class CardService;
RpcMethods CardMethods(CardService& service);

} // namespace qiantai::cardd
