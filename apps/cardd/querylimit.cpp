#include "querylimit.h"

namespace qiantai::cardd {

bool QueryLimit::admit(const std::string& till)
{
    if (perMinute_ <= 0)
        return true;
    const Clock::time_point now = Clock::now();
    std::lock_guard<std::mutex> lock(mutex_);
    std::deque<Clock::time_point>& times = recent_[till];
    while (!times.empty() && now - times.front() >= std::chrono::minutes(1))
        times.pop_front();
    if (int(times.size()) >= perMinute_)
        return false;
    times.push_back(now);
    return true;
}

} // namespace qiantai::cardd
