#pragma once

#include <QDate>
#include <QTime>

// A reading of the local clock: the date, and the time of day to the millisecond.
struct LocalMoment {
    QDate date;
    QTime time;
};

// The local clock. Tests put a settable clock in its place.
class TimeOfDay {
public:
    virtual ~TimeOfDay() = default;
    virtual LocalMoment now() const = 0;
};

class SystemTimeOfDay final : public TimeOfDay {
public:
    LocalMoment now() const override;
};
