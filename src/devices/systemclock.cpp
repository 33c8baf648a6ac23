#include "devices/systemclock.h"

#include <ctime>

namespace qiantai {

bool RealSystemClock::Set(const QDateTime& to)
{
    if (!to.isValid())
        return false;
    const qint64 ms = to.toMSecsSinceEpoch();
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(ms / 1000);
    ts.tv_nsec = static_cast<long>((ms % 1000) * 1000000);
    return clock_settime(CLOCK_REALTIME, &ts) == 0;
}

bool SyncClock(SystemClock& clock, const QDateTime& server, bool enabled)
{
    if (!enabled || !server.isValid())
        return false;
    const qint64 diff = clock.Now().msecsTo(server);
    if (diff > -1000 && diff < 1000)
        return false;
    return clock.Set(server);
}

namespace {

SystemClock*& InstalledClock()
{
    static SystemClock* installed = nullptr;
    return installed;
}

} // namespace

SystemClock& ModuleClock()
{
    static RealSystemClock real;
    SystemClock* installed = InstalledClock();
    return installed ? *installed : real;
}

void SetModuleClock(SystemClock* clock)
{
    InstalledClock() = clock;
}

} // namespace qiantai
