// A network receipt printer on 127.0.0.1 that answers every real-time status
// request (DLE EOT n) with one fixed byte per n, on any number of
// connections, until destroyed. Its sockets are not inherited by child
// processes.
#pragma once

#include <QByteArray>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <map>
#include <thread>

namespace qiantai::test {

class StatusPrinter {
public:
    // `answers` maps n of DLE EOT n to the status byte sent back.
    explicit StatusPrinter(std::map<char, char> answers) : answers_(std::move(answers))
    {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        ::listen(listener_, 4);
        socklen_t len = sizeof addr;
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len);
        port_ = ntohs(addr.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~StatusPrinter()
    {
        stop_ = true;
        thread_.join();
        ::close(listener_);
    }
    StatusPrinter(const StatusPrinter&) = delete;
    StatusPrinter& operator=(const StatusPrinter&) = delete;

    quint16 port() const { return port_; }

private:
    void serve()
    {
        while (!stop_) {
            pollfd pending{listener_, POLLIN, 0};
            if (::poll(&pending, 1, 50) <= 0)
                continue;
            const int peer = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (peer >= 0)
                answer(peer);
        }
    }

    void answer(int peer)
    {
        QByteArray in;
        char buffer[256];
        for (;;) {
            pollfd readable{peer, POLLIN, 0};
            if (stop_ || ::poll(&readable, 1, 2000) <= 0)
                break;
            const ssize_t n = ::recv(peer, buffer, sizeof buffer, 0);
            if (n <= 0)
                break;
            in.append(buffer, int(n));
            int at;
            while ((at = int(in.indexOf("\x10\x04"))) >= 0 && in.size() >= at + 3) {
                const auto found = answers_.find(in[at + 2]);
                if (found != answers_.end())
                    ::send(peer, &found->second, 1, MSG_NOSIGNAL);
                in.remove(0, at + 3);
            }
        }
        ::close(peer);
    }

    std::map<char, char> answers_;
    std::atomic<bool> stop_{false};
    int listener_ = -1;
    quint16 port_ = 0;
    std::thread thread_;
};

} // namespace qiantai::test
