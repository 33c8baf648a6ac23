#include "cardserver.h"

#include "cardservice.h"
#include "tillcertificate.h"

#include "base/logcategories.h"

#include <QDebug>
#include <QFile>

#include <microhttpd.h>

#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace qiantai::cardd {

namespace {

// What the daemon keeps per request: the body read so far.
struct Request {
    std::string body;
    bool replied = false; // a response is queued: the rest is not read
    bool busy = false;    // counted in CardServer::busy_
};

bool ReadFile(const std::string& path, std::string* text, std::string* error)
{
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly)) {
        *error = "cannot read " + path;
        return false;
    }
    *text = f.readAll().toStdString();
    return true;
}

MHD_Result Reply(MHD_Connection* connection, unsigned status, const std::string& body,
                 const char* header = nullptr, const char* value = nullptr)
{
    MHD_Response* response =
        MHD_create_response_from_buffer(body.size(), const_cast<char*>(body.data()), MHD_RESPMEM_MUST_COPY);
    if (!response)
        return MHD_NO;
    if (!body.empty())
        MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE, "application/json");
    // One request per connection: a till opens one per call.
    MHD_add_response_header(response, MHD_HTTP_HEADER_CONNECTION, "close");
    if (header)
        MHD_add_response_header(response, header, value);
    const MHD_Result queued = MHD_queue_response(connection, status, response);
    MHD_destroy_response(response);
    return queued;
}

// The length a request declares; -1 when it declares none.
long long DeclaredLength(MHD_Connection* connection)
{
    const char* length =
        MHD_lookup_connection_value(connection, MHD_HEADER_KIND, MHD_HTTP_HEADER_CONTENT_LENGTH);
    if (!length)
        return -1;
    char* end = nullptr;
    const unsigned long long n = std::strtoull(length, &end, 10);
    return end != length && n < (1ULL << 62) ? (long long)n : (1LL << 62);
}

std::string ClientAddress(MHD_Connection* connection)
{
    const MHD_ConnectionInfo* info = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
    char host[NI_MAXHOST] = "";
    if (info && info->client_addr)
        getnameinfo(info->client_addr,
                    info->client_addr->sa_family == AF_INET6 ? sizeof(sockaddr_in6) : sizeof(sockaddr_in),
                    host, sizeof host, nullptr, 0, NI_NUMERICHOST);
    return host;
}

void LogDaemon(void*, const char* format, va_list arguments)
{
    char text[512];
    std::vsnprintf(text, sizeof text, format, arguments);
    qCWarning(lcCardServer).noquote() << QString::fromLocal8Bit(text).trimmed();
}

} // namespace

struct CardServer::Callbacks {
    static MHD_Result request(void* self, MHD_Connection* connection, const char* url, const char* method,
                              const char*, const char* upload, std::size_t* uploadSize, void** context)
    {
        auto& server = *static_cast<CardServer*>(self);
        auto* r = static_cast<Request*>(*context);
        if (!r) {
            // The head is in; the body (if any) follows in later calls.
            r = new Request;
            *context = r;
            if (std::strcmp(url, "/rpc") != 0 && std::strcmp(url, "/") != 0)
                return replyEarly(connection, *r, MHD_HTTP_NOT_FOUND);
            if (std::strcmp(method, MHD_HTTP_METHOD_POST) != 0) {
                r->replied = true;
                return Reply(connection, MHD_HTTP_METHOD_NOT_ALLOWED, {}, MHD_HTTP_HEADER_ALLOW, "POST");
            }
            if (DeclaredLength(connection) > (long long)server.limits_.bodyBytes)
                return replyEarly(connection, *r, MHD_HTTP_CONTENT_TOO_LARGE);
            return MHD_YES;
        }
        if (*uploadSize > 0) {
            const std::size_t size = *uploadSize;
            *uploadSize = 0;
            if (r->replied)
                return MHD_YES;
            // Counted as it comes, whatever the transfer encoding. The
            // daemon cannot answer in the middle of a body: the connection
            // is closed instead.
            if (r->body.size() + size > server.limits_.bodyBytes) {
                qCWarning(lcCardServer) << "closing a connection whose request body is over"
                                        << server.limits_.bodyBytes << "bytes";
                return replyEarly(connection, *r, MHD_HTTP_CONTENT_TOO_LARGE);
            }
            r->body.append(upload, size);
            return MHD_YES;
        }
        if (r->replied)
            return MHD_YES;
        r->replied = true;
        {
            const std::lock_guard<std::mutex> lock(server.mutex_);
            const auto c = server.connections_.find(connection);
            if (c != server.connections_.end())
                c->second.answering = true;
            r->busy = true;
            ++server.busy_;
        }
        unsigned status = 0;
        const std::string till = server.tillOf(connection, &status);
        if (till.empty())
            return status == MHD_HTTP_UNAUTHORIZED
                       ? Reply(connection, status, {}, MHD_HTTP_HEADER_WWW_AUTHENTICATE, "Bearer")
                       : Reply(connection, status, {});
        const auto reply = HandleJsonRpc(r->body, server.methods_, till);
        return reply ? Reply(connection, MHD_HTTP_OK, *reply) : Reply(connection, MHD_HTTP_NO_CONTENT, {});
    }

    // Answers before the body is read; a daemon that cannot answer then
    // closes the connection.
    static MHD_Result replyEarly(MHD_Connection* connection, Request& r, unsigned status)
    {
        r.replied = true;
        return Reply(connection, status, {});
    }

    static void completed(void* self, MHD_Connection*, void** context, MHD_RequestTerminationCode)
    {
        auto& server = *static_cast<CardServer*>(self);
        auto* r = static_cast<Request*>(*context);
        *context = nullptr;
        if (!r)
            return;
        if (r->busy) {
            const std::lock_guard<std::mutex> lock(server.mutex_);
            --server.busy_;
            server.changed_.notify_all();
        }
        delete r;
    }

    static void notified(void* self, MHD_Connection* connection, void**, MHD_ConnectionNotificationCode event)
    {
        auto& server = *static_cast<CardServer*>(self);
        const std::lock_guard<std::mutex> lock(server.mutex_);
        if (event == MHD_CONNECTION_NOTIFY_STARTED) {
            const MHD_ConnectionInfo* info =
                MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD);
            server.connections_[connection] = {info ? info->connect_fd : -1,
                                               std::chrono::steady_clock::now()};
        } else {
            // Before the daemon closes the socket.
            server.connections_.erase(connection);
        }
        server.changed_.notify_all();
    }
};

CardServer::CardServer(RpcMethods methods, ServerLimits limits)
    : methods_(std::move(methods)), limits_(limits)
{
}

CardServer::~CardServer()
{
    stop();
    if (daemon_)
        MHD_stop_daemon(daemon_);
}

bool CardServer::bind(const std::string& address, int port, const ServerTls& tls, std::string* error)
{
    // poll(), not epoll: quiescing an epoll daemon races its own threads over the
    // listening socket and aborts the process.
    unsigned flags = MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_POLL | MHD_USE_ITC;
    const bool https = !tls.certificateFile.empty() || !tls.keyFile.empty();
    if (https) {
        if (!ReadFile(tls.certificateFile, &tlsCertificate_, error) ||
            !ReadFile(tls.keyFile, &tlsKey_, error))
            return false;
        flags |= MHD_USE_TLS;
    }
    if (!tls.clientCaFile.empty()) {
        if (!https) {
            *error = "client certificates need HTTPS (--tls-cert and --tls-key)";
            return false;
        }
        if (!ReadFile(tls.clientCaFile, &tlsClientCa_, error))
            return false;
        clientCertificates_ = true;
    }

    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE;
    addrinfo* found = nullptr;
    const std::string where = address + ":" + std::to_string(port);
    if (getaddrinfo(address.c_str(), std::to_string(port).c_str(), &hints, &found) != 0 || !found) {
        *error = "cannot bind " + where + ": unknown address";
        return false;
    }
    listenSocket_ = ::socket(found->ai_family, found->ai_socktype | SOCK_CLOEXEC, found->ai_protocol);
    const int yes = 1;
    const bool bound =
        listenSocket_ >= 0 && setsockopt(listenSocket_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes) == 0 &&
        ::bind(listenSocket_, found->ai_addr, found->ai_addrlen) == 0 && ::listen(listenSocket_, 64) == 0;
    freeaddrinfo(found);
    if (!bound) {
        *error = "cannot bind " + where + ": " + std::strerror(errno);
        if (listenSocket_ >= 0)
            ::close(listenSocket_);
        listenSocket_ = -1;
        return false;
    }
    sockaddr_storage bound_address{};
    socklen_t length = sizeof bound_address;
    getsockname(listenSocket_, reinterpret_cast<sockaddr*>(&bound_address), &length);
    port_ =
        ntohs(bound_address.ss_family == AF_INET6 ? reinterpret_cast<sockaddr_in6*>(&bound_address)->sin6_port
                                                  : reinterpret_cast<sockaddr_in*>(&bound_address)->sin_port);

    std::vector<MHD_OptionItem> options = {
        {MHD_OPTION_EXTERNAL_LOGGER, (intptr_t)&LogDaemon, nullptr},
        {MHD_OPTION_LISTEN_SOCKET, listenSocket_, nullptr},
        {MHD_OPTION_THREAD_POOL_SIZE, (intptr_t)std::max(1u, limits_.threads), nullptr},
        {MHD_OPTION_CONNECTION_LIMIT, (intptr_t)std::max(1u, limits_.connections), nullptr},
        {MHD_OPTION_PER_IP_CONNECTION_LIMIT, (intptr_t)limits_.connectionsPerClient, nullptr},
        {MHD_OPTION_CONNECTION_TIMEOUT, (intptr_t)limits_.idleSeconds, nullptr},
        {MHD_OPTION_CONNECTION_MEMORY_LIMIT, (intptr_t)limits_.connectionMemory, nullptr},
        {MHD_OPTION_NOTIFY_COMPLETED, (intptr_t)&Callbacks::completed, this},
        {MHD_OPTION_NOTIFY_CONNECTION, (intptr_t)&Callbacks::notified, this},
    };
    if (https) {
        options.push_back({MHD_OPTION_HTTPS_MEM_CERT, 0, const_cast<char*>(tlsCertificate_.c_str())});
        options.push_back({MHD_OPTION_HTTPS_MEM_KEY, 0, const_cast<char*>(tlsKey_.c_str())});
    }
    if (clientCertificates_)
        options.push_back({MHD_OPTION_HTTPS_MEM_TRUST, 0, const_cast<char*>(tlsClientCa_.c_str())});
    options.push_back({MHD_OPTION_END, 0, nullptr});

    daemon_ = MHD_start_daemon(flags | MHD_USE_ERROR_LOG, 0, nullptr, nullptr, &Callbacks::request, this,
                               MHD_OPTION_ARRAY, options.data(), MHD_OPTION_END);
    if (!daemon_) {
        *error = https ? "cannot start HTTPS: check the TLS certificate and key (PEM, key not encrypted)"
                       : "cannot start the HTTP server";
        ::close(listenSocket_);
        listenSocket_ = -1;
        return false;
    }
    return true;
}

void CardServer::run()
{
    std::unique_lock<std::mutex> lock(mutex_);
    while (!stopRequested_) {
        changed_.wait_for(lock, std::chrono::seconds(1));
        closeLateConnections();
    }
    if (!daemon_)
        return;
    // No new connections; the requests under way are answered first.
    lock.unlock();
    const MHD_socket listening = MHD_quiesce_daemon(daemon_);
    lock.lock();
    changed_.wait_for(lock, std::chrono::seconds(limits_.requestSeconds), [this] { return busy_ == 0; });
    lock.unlock();
    MHD_stop_daemon(daemon_);
    daemon_ = nullptr;
    if (listening != MHD_INVALID_SOCKET)
        ::close(listening);
}

void CardServer::stop()
{
    const std::lock_guard<std::mutex> lock(mutex_);
    stopRequested_ = true;
    changed_.notify_all();
}

int CardServer::openConnections() const
{
    const std::lock_guard<std::mutex> lock(mutex_);
    return int(connections_.size());
}

void CardServer::closeLateConnections()
{
    const auto late = std::chrono::steady_clock::now() - std::chrono::seconds(limits_.requestSeconds);
    for (auto& [connection, c] : connections_) {
        if (c.answering || c.opened > late || c.socket < 0)
            continue;
        // The daemon sees the end of the stream and closes it; the socket
        // stays open until then, so it is still this connection's.
        qCWarning(lcCardServer) << "closing a connection whose request took longer than"
                                << limits_.requestSeconds << "s";
        ::shutdown(c.socket, SHUT_RDWR);
        c.answering = true;
    }
}

std::string CardServer::tillOf(MHD_Connection* connection, unsigned* status) const
{
    if (clientCertificates_) {
        const MHD_ConnectionInfo* info =
            MHD_get_connection_info(connection, MHD_CONNECTION_INFO_GNUTLS_SESSION);
        const std::string till = info ? CertificateTill(info->tls_session) : std::string();
        *status = MHD_HTTP_FORBIDDEN;
        return till;
    }
    if (!tillKeys_.empty()) {
        const char* authorization =
            MHD_lookup_connection_value(connection, MHD_HEADER_KIND, MHD_HTTP_HEADER_AUTHORIZATION);
        const std::string bearer = "Bearer ";
        *status = MHD_HTTP_UNAUTHORIZED;
        return authorization && std::strncmp(authorization, bearer.c_str(), bearer.size()) == 0
                   ? tillKeys_.tillOf(authorization + bearer.size())
                   : std::string();
    }
    return ClientAddress(connection);
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
