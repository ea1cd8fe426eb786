#include "clock/TickArithmetic.h"

#include "clock/CheckedArithmetic.h"
#include "clock/ClockText.h"

std::int32_t DaysSince(const QDate& startDate, const QDate& today) {
    return checked::toInt32(startDate.daysTo(today));
}

std::int32_t RunningSeconds(const QString& clockText, std::int32_t dayCount) {
    const std::int32_t daySeconds = checked::multiply(checked::multiply(dayCount, 24), 3600);
    return checked::roundToInt32(FieldSeconds(clockText) + daySeconds);
}

std::int32_t TimerValue(const QString& modeText, std::int32_t nowSeconds, std::int32_t startSeconds,
                        std::int32_t startValue) {
    if (modeText == u"Up")
        return checked::add(checked::subtract(nowSeconds, startSeconds), startValue);
    return checked::add(checked::subtract(startSeconds, nowSeconds), startValue);
}
