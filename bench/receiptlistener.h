// A receipt printer on loopback: a thread accepts the station printer's TCP
// connections, takes in the ESC/POS bytes and notes when each full cut (the
// end of a receipt) arrives.
#pragma once

#include "benchtiming.h"

#include <QString>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace qiantai::bench {

class ReceiptListener {
public:
    ReceiptListener() = default;
    ~ReceiptListener();
    ReceiptListener(const ReceiptListener&) = delete;
    ReceiptListener& operator=(const ReceiptListener&) = delete;

    // Listens on 127.0.0.1 at a free port; false with `error` set on failure.
    bool start(QString* error);
    int port() const { return port_; }

    // Receipts (full cuts) received so far.
    int receipts() const;
    // Waits up to `timeoutMs` for receipt number `n` (from 1); its arrival.
    bool waitForReceipt(int n, int timeoutMs, Clock::time_point* arrived) const;

private:
    void run();
    void take(const char* bytes, long n);

    int listenFd_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<Clock::time_point> cuts_;
    std::string tail_; // the last bytes of the previous read
};

} // namespace qiantai::bench
