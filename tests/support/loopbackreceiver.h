// A TCP listener on 127.0.0.1 that collects every byte of one connection
// until the peer closes; it stands in for a network receipt printer. With
// `dropFirst` it first closes one connection unread, like a printer that was
// switched off and on; dropConnection() does the same to the connection it
// is reading, keeping its bytes, and then reads the next one. Its sockets are
// not inherited by child processes.
#pragma once

#include <QByteArray>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

namespace qiantai::test {

// A listening socket on a free port of 127.0.0.1, not inherited by child
// processes; its port goes to *port.
inline int ListenOnLoopback(int backlog, quint16* port)
{
    const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    ::bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    ::listen(listener, backlog);
    socklen_t len = sizeof addr;
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&addr), &len);
    *port = ntohs(addr.sin_port);
    return listener;
}

class LoopbackReceiver {
public:
    explicit LoopbackReceiver(bool dropFirst = false) : dropFirst_(dropFirst)
    {
        listener_ = ListenOnLoopback(1, &port_);
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
    // With dropFirst: waits until the first connection has been closed.
    void waitUntilDropped() { dropped_.get_future().wait(); }
    // Closes the connection being read (once it is there), as a printer that
    // is switched off and on, and waits until that is done.
    void dropConnection()
    {
        for (int i = 0; i < 1000 && peer_.load() < 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        dropRequested_ = true;
        ::shutdown(peer_.load(), SHUT_RDWR);
        dropDone_.get_future().wait();
    }
    // Waits for the peer to close, then answers what it sent; empty when no
    // connection came within ten seconds.
    QByteArray bytes()
    {
        if (thread_.joinable())
            thread_.join();
        return bytes_;
    }

private:
    // The next connection; -1 when none comes within ten seconds (a broken
    // client must fail the test, not hang it) or the listener is shut down.
    int acceptOne()
    {
        pollfd pending{listener_, POLLIN, 0};
        if (::poll(&pending, 1, 10000) <= 0)
            return -1;
        return ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    }

    void receive()
    {
        if (dropFirst_) {
            const int first = acceptOne();
            if (first >= 0)
                ::close(first);
            dropped_.set_value();
            if (first < 0)
                return;
        }
        for (;;) {
            const int peer = acceptOne();
            if (peer < 0)
                return;
            peer_ = peer;
            char buffer[4096];
            for (;;) {
                const ssize_t n = ::recv(peer, buffer, sizeof buffer, 0);
                if (n <= 0)
                    break;
                bytes_.append(buffer, int(n));
            }
            peer_ = -1;
            ::close(peer);
            if (!dropRequested_)
                return;
            dropRequested_ = false;
            dropDone_.set_value();
        }
    }

    bool dropFirst_;
    std::promise<void> dropped_;
    std::atomic<int> peer_{-1};
    std::atomic<bool> dropRequested_{false};
    std::promise<void> dropDone_;
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
