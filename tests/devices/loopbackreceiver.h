// A one-connection TCP listener on 127.0.0.1 that collects every byte it is
// sent until the peer closes; it stands in for a network receipt printer.
#pragma once

#include <QByteArray>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

namespace qiantai::test {

class LoopbackReceiver {
public:
    LoopbackReceiver()
    {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        addr.sin_port = 0;
        ::bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        ::listen(listener_, 1);
        socklen_t len = sizeof addr;
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len);
        port_ = ntohs(addr.sin_port);
        thread_ = std::thread([this] { receive(); });
    }
    ~LoopbackReceiver()
    {
        ::shutdown(listener_, SHUT_RDWR); // ends a pending accept
        if (thread_.joinable())
            thread_.join();
        ::close(listener_);
    }

    quint16 port() const { return port_; }
    // Waits for the peer to close, then answers what it sent.
    QByteArray bytes()
    {
        if (thread_.joinable())
            thread_.join();
        return bytes_;
    }

private:
    void receive()
    {
        const int peer = ::accept(listener_, nullptr, nullptr);
        if (peer < 0)
            return;
        char buffer[4096];
        for (;;) {
            const ssize_t n = ::recv(peer, buffer, sizeof buffer, 0);
            if (n <= 0)
                break;
            bytes_.append(buffer, int(n));
        }
        ::close(peer);
    }

    int listener_ = -1;
    quint16 port_ = 0;
    QByteArray bytes_;
    std::thread thread_;
};

// A loopback port on which nothing listens.
inline quint16 ClosedLoopbackPort()
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    ::getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len);
    ::close(s);
    return ntohs(addr.sin_port);
}

} // namespace qiantai::test
