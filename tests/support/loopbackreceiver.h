// A TCP listener on 127.0.0.1 that collects every byte of one connection
// until the peer closes; it stands in for a network receipt printer. With
// `dropFirst` it first closes one connection unread, like a printer that was
// switched off and on; dropConnection() does the same to the connection it
// is reading, keeping its bytes, and then reads the next one. Made with a
// Status it answers the real-time status requests DLE EOT 1, 2 and 4 (and
// keeps them out of bytes()); without one it leaves them unanswered. Its
// sockets are not inherited by child processes.
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
    // The status bytes answered: DLE EOT 1 printer, 2 offline cause, 4 paper
    // sensor. The defaults are a ready printer.
    struct Status {
        char printer = 0x12;
        char offline = 0x12;
        char paper = 0x12;
    };
    static constexpr char PaperOut = 0x72;  // DLE EOT 4: roll paper end
    static constexpr char CoverOpen = 0x16; // DLE EOT 2: cover open
    static constexpr char Offline = 0x1a;   // DLE EOT 1: off line

    explicit LoopbackReceiver(Status status) : LoopbackReceiver(false)
    {
        answering_ = true;
        setStatus(status);
    }
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
    // The answers from now on (a printer whose paper runs out meanwhile).
    void setStatus(Status status)
    {
        printer_ = status.printer;
        offline_ = status.offline;
        paper_ = status.paper;
    }
    // How many status requests were answered.
    int statusRequests() const { return statusRequests_; }
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
                if (answering_)
                    answerStatus(peer);
            }
            peer_ = -1;
            ::close(peer);
            if (!dropRequested_)
                return;
            dropRequested_ = false;
            dropDone_.set_value();
        }
    }

    // Answers and removes each complete DLE EOT n at the end of the bytes.
    void answerStatus(int peer)
    {
        int at;
        while ((at = int(bytes_.indexOf("\x10\x04", pending_))) >= 0 && bytes_.size() >= at + 3) {
            const char n = bytes_[at + 2];
            const char answer = n == 1 ? printer_.load() : n == 2 ? offline_.load() : paper_.load();
            ::send(peer, &answer, 1, MSG_NOSIGNAL);
            ++statusRequests_;
            bytes_.remove(at, 3);
        }
        // A DLE that may start a request still to come stays pending.
        pending_ = bytes_.endsWith('\x10') ? int(bytes_.size()) - 1 : int(bytes_.size());
        if (bytes_.endsWith("\x10\x04"))
            pending_ = int(bytes_.size()) - 2;
    }

    bool dropFirst_;
    bool answering_ = false;
    std::atomic<char> printer_{0x12}, offline_{0x12}, paper_{0x12};
    std::atomic<int> statusRequests_{0};
    int pending_ = 0;
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
