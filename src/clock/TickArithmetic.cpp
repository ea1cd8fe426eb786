#include "TickArithmetic.h"

#include "CheckedArithmetic.h"
#include "ClockText.h"

void CountMidnight(std::int32_t& dayCount, std::int16_t& latch, const QString& clockText) {
    if (clockText == u"00:00:00" && latch == 0) {
        latch = 1;
        dayCount = checked::add(dayCount, 1);
    }
    if (clockText == u"00:00:01")
        latch = 0;
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
