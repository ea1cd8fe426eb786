#pragma once

#include <QDate>
#include <QFileSystemWatcher>
#include <QTime>
#include <cstdint>

// A reading of the clock: the local date and time of day to the millisecond, and the instant in
// whole seconds since the epoch, which counts the seconds that really pass: a change of daylight
// saving time or of the zone moves the local time, never the instant.
struct LocalMoment {
    QDate date;
    QTime time;
    std::int64_t instant = 0;
};

// The clock. Tests put a settable clock in its place.
class TimeOfDay {
public:
    virtual ~TimeOfDay() = default;
    virtual LocalMoment now() const = 0;
};

// The system's clock, in the zone the desktop has now: TZ when the environment sets it, otherwise
// the zone file, which is followed when it is replaced or rewritten while the program runs. It is
// watched, not read at each tick.
class SystemTimeOfDay final : public TimeOfDay {
public:
    explicit SystemTimeOfDay(QString zoneFile = QStringLiteral("/etc/localtime"));
    LocalMoment now() const override;

private:
    void followZone();

    QString zoneFile_;
    QFileSystemWatcher watcher_;
};
