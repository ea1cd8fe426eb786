#include "clock/TickArithmetic.h"

#include "clock/CheckedArithmetic.h"

std::int32_t DaysSince(const QDate& startDate, const QDate& today) {
    return checked::toInt32(startDate.daysTo(today));
}

std::int32_t RunningSeconds(std::int32_t startSeconds, std::int64_t startInstant,
                            std::int64_t nowInstant) {
    return checked::add(startSeconds, checked::toInt32(nowInstant - startInstant));
}

std::int32_t TimerValue(const QString& modeText, std::int32_t nowSeconds, std::int32_t startSeconds,
                        std::int32_t startValue) {
    if (modeText == u"Up")
        return checked::add(checked::subtract(nowSeconds, startSeconds), startValue);
    return checked::add(checked::subtract(startSeconds, nowSeconds), startValue);
}
