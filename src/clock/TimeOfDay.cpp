#include "TimeOfDay.h"

QTime SystemTimeOfDay::now() const {
    const QTime t = QTime::currentTime();
    return QTime(t.hour(), t.minute(), t.second());
}
