#pragma once

#include <QTime>

// The local time of day, in whole seconds. Tests put a settable clock in its place.
class TimeOfDay {
public:
    virtual ~TimeOfDay() = default;
    virtual QTime now() const = 0;
};

class SystemTimeOfDay final : public TimeOfDay {
public:
    QTime now() const override;
};
