#include "receiptlistener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace qiantai::bench {

namespace {

const std::string FullCut("\x1d\x56\x00", 3); // GS V 0

} // namespace

ReceiptListener::~ReceiptListener()
{
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
    if (listenFd_ >= 0)
        ::close(listenFd_);
}

bool ReceiptListener::start(QString* error)
{
    listenFd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    socklen_t len = sizeof addr;
    if (listenFd_ < 0 || ::bind(listenFd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(listenFd_, 4) != 0 ||
        ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        *error = QStringLiteral("receipt listener: ") + QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    port_ = ntohs(addr.sin_port);
    thread_ = std::thread([this] { run(); });
    return true;
}

int ReceiptListener::receipts() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return int(cuts_.size());
}

bool ReceiptListener::waitForReceipt(int n, int timeoutMs, Clock::time_point* arrived) const
{
    std::unique_lock<std::mutex> lock(mutex_);
    if (!changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                           [&] { return int(cuts_.size()) >= n; }))
        return false;
    *arrived = cuts_[n - 1];
    return true;
}

void ReceiptListener::take(const char* bytes, long n)
{
    const Clock::time_point now = Clock::now();
    // A cut may straddle two reads: search the previous read's last bytes
    // too; a match cannot lie wholly inside them.
    std::string data = tail_ + std::string(bytes, std::size_t(n));
    int found = 0;
    for (std::size_t at = data.find(FullCut); at != std::string::npos; at = data.find(FullCut, at + 1))
        ++found;
    tail_ = data.substr(data.size() >= FullCut.size() - 1 ? data.size() - (FullCut.size() - 1) : 0);
    if (found == 0)
        return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        cuts_.insert(cuts_.end(), std::size_t(found), now);
    }
    changed_.notify_all();
}

void ReceiptListener::run()
{
    std::vector<pollfd> fds{{listenFd_, POLLIN, 0}};
    char buffer[4096];
    while (!stop_) {
        if (::poll(fds.data(), fds.size(), 50) <= 0)
            continue;
        for (std::size_t i = fds.size(); i-- > 1;) {
            if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            const long n = ::read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                take(buffer, n);
            } else {
                ::close(fds[i].fd);
                fds.erase(fds.begin() + long(i));
            }
        }
        if (fds[0].revents & POLLIN) {
            const int fd = ::accept(listenFd_, nullptr, nullptr);
            if (fd >= 0)
                fds.push_back({fd, POLLIN, 0});
        }
    }
    for (std::size_t i = 1; i < fds.size(); ++i)
        ::close(fds[i].fd);
}

} // namespace qiantai::bench
