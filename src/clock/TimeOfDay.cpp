#include "clock/TimeOfDay.h"

#include <algorithm>
#include <ctime>

LocalMoment SystemTimeOfDay::now() const {
    // Ten times a second: the C library's conversion is much cheaper than QDateTime's.
    timespec realtime{};
    clock_gettime(CLOCK_REALTIME, &realtime);
    tm local{};
    localtime_r(&realtime.tv_sec, &local);
    return {QDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday),
            QTime(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59),
                  static_cast<int>(realtime.tv_nsec / 1'000'000))};
}
