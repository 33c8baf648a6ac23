#include "devices/systemclock.h"

#include <gtest/gtest.h>

using namespace qiantai;

namespace {

class FakeClock : public SystemClock {
public:
    QDateTime now = QDateTime(QDate(2026, 12, 10), QTime(9, 0, 0));
    QList<QDateTime> sets;
    bool refuse = false;
    QDateTime Now() const override { return now; }
    bool Set(const QDateTime& to) override
    {
        sets.append(to);
        return !refuse;
    }
};

} // namespace

TEST(SyncClock, SetsOnlyWhenEnabledAndAtLeastASecondOff)
{
    const struct {
        int offsetMs;
        bool enabled;
        bool set;
    } cases[] = {{0, true, false},   {999, true, false},  {-999, true, false},
                 {1000, true, true}, {-5000, true, true}, {60000, false, false}};
    for (const auto& c : cases) {
        FakeClock clock;
        const QDateTime server = clock.now.addMSecs(c.offsetMs);
        EXPECT_EQ(SyncClock(clock, server, c.enabled), c.set) << c.offsetMs;
        EXPECT_EQ(clock.sets.size(), c.set ? 1 : 0) << c.offsetMs;
        if (c.set) {
            EXPECT_EQ(clock.sets.first(), server);
        }
    }
}

TEST(SyncClock, ARefusalIsReportedAndAnInvalidTimeIgnored)
{
    FakeClock clock;
    clock.refuse = true;
    EXPECT_FALSE(SyncClock(clock, clock.now.addSecs(10), true));
    EXPECT_EQ(clock.sets.size(), 1);
    EXPECT_FALSE(SyncClock(clock, QDateTime(), true));
    EXPECT_EQ(clock.sets.size(), 1);
}

TEST(ModuleClock, UsesTheInstalledFake)
{
    FakeClock clock;
    SetModuleClock(&clock);
    EXPECT_EQ(ModuleClock().Now(), clock.now);
    SetModuleClock(nullptr);
    EXPECT_NE(&ModuleClock(), static_cast<SystemClock*>(&clock));
}
