// Card queries per till in a sliding minute: what keeps a till (or anything
// posing as one) from guessing passwords and certificate numbers online.
#pragma once

#include <chrono>
#include <deque>
#include <map>
#include <mutex>
#include <string>

namespace qiantai::cardd {

class QueryLimit {
public:
    using Clock = std::chrono::steady_clock;

    // `perMinute` 0: no limit.
    explicit QueryLimit(int perMinute) : perMinute_(perMinute) {}

    // True when `till` may query now; the query is counted.
    bool admit(const std::string& till);

private:
    int perMinute_;
    std::mutex mutex_;
    std::map<std::string, std::deque<Clock::time_point>> recent_;
};

} // namespace qiantai::cardd
