// A TCP connection to a loopback server that sends exactly the bytes a
// test gives it, from a loopback address of its choice (127.0.0.2 is
// another client than 127.0.0.1 to the server).
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <string>

namespace qiantai::test {

class RawConnection {
public:
    RawConnection(int port, const char* from = "127.0.0.1")
    {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        inet_pton(AF_INET, from, &local.sin_addr);
        sockaddr_in server{};
        server.sin_family = AF_INET;
        server.sin_port = htons(uint16_t(port));
        inet_pton(AF_INET, "127.0.0.1", &server.sin_addr);
        connected = fd_ >= 0 && ::bind(fd_, reinterpret_cast<sockaddr*>(&local), sizeof local) == 0 &&
                    ::connect(fd_, reinterpret_cast<sockaddr*>(&server), sizeof server) == 0;
    }
    ~RawConnection() { close(); }
    RawConnection(const RawConnection&) = delete;
    RawConnection& operator=(const RawConnection&) = delete;

    void close()
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }
    // False once the server has closed its end (or reset it).
    bool send(const std::string& bytes)
    {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::send(fd_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
            if (n <= 0)
                return false;
            done += std::size_t(n);
        }
        return true;
    }
    // What arrives within `wait`; `closed` tells whether the server closed
    // the connection by then.
    std::string receive(std::chrono::milliseconds wait, bool* closed)
    {
        std::string text;
        *closed = false;
        const auto end = std::chrono::steady_clock::now() + wait;
        while (true) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
            pollfd p{fd_, POLLIN, 0};
            if (left.count() <= 0 || ::poll(&p, 1, int(left.count())) <= 0)
                return text;
            char buffer[4096];
            const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
            if (n <= 0) {
                *closed = true;
                return text;
            }
            text.append(buffer, std::size_t(n));
        }
    }

    bool connected = false;

private:
    int fd_ = -1;
};

} // namespace qiantai::test
