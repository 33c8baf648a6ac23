// The host's clock: the date operations and GetDate() of a SQLite store read
// it, so that tests can fix the time without touching the machine's clock.
#pragma once

#include <QDateTime>

namespace qiantai::host {

class HostClock {
public:
    virtual ~HostClock() = default;
    virtual QDateTime now() const = 0;
};

class SystemHostClock : public HostClock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

class FixedHostClock : public HostClock {
public:
    explicit FixedHostClock(QDateTime t) : t_(std::move(t)) {}
    QDateTime now() const override { return t_; }
    void set(const QDateTime& t) { t_ = t; }

private:
    QDateTime t_;
};

} // namespace qiantai::host
