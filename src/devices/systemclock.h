// The computer's local clock, behind an interface so that tests never touch it.
#pragma once

#include <QDateTime>

namespace qiantai {

class SystemClock {
public:
    virtual ~SystemClock() = default;
    virtual QDateTime Now() const = 0;
    // Sets the local clock; false when the system refuses.
    virtual bool Set(const QDateTime& to) = 0;
};

// clock_settime(CLOCK_REALTIME); refused without the privilege to do so.
class RealSystemClock : public SystemClock {
public:
    QDateTime Now() const override { return QDateTime::currentDateTime(); }
    bool Set(const QDateTime& to) override;
};

// Sets `clock` to `server` unless switched off or the two differ by less
// than a second. Returns whether the clock was set.
bool SyncClock(SystemClock& clock, const QDateTime& server, bool enabled);

// The clock the module uses; tests install a fake with SetModuleClock.
SystemClock& ModuleClock();
void SetModuleClock(SystemClock* clock); // nullptr restores the real one

} // namespace qiantai
