#pragma once

#include <QDate>
#include <QFileSystemWatcher>
#include <QTime>
#include <QTimer>
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
// /etc/localtime, which is followed when it is replaced or rewritten while the program runs. The
// zone is watched, not read at each tick. Made on the event thread, whose loop brings the changes.
class SystemTimeOfDay final : public TimeOfDay {
public:
    SystemTimeOfDay();
    LocalMoment now() const override;

private:
    void watchZoneFile();
    void followZone();

    QFileSystemWatcher watcher_;
    QTimer settling_;
};
