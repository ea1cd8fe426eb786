#pragma once

#include <QString>
#include <cstdint>

// The arithmetic of one tick: midnights counted from the clock text, the running second count
// and the timer value. Every step is checked 32-bit arithmetic.

// Counts a midnight at the first "00:00:00" seen (latch 0 to 1) and re-arms the latch at
// "00:00:01". A midnight with no tick inside its first second goes uncounted.
void CountMidnight(std::int32_t& dayCount, std::int16_t& latch, const QString& clockText);

// Seconds of the clock text's fields plus the counted days.
std::int32_t RunningSeconds(const QString& clockText, std::int32_t dayCount);

// Counts up when the mode text is exactly "Up"; any other text counts down.
std::int32_t TimerValue(const QString& modeText, std::int32_t nowSeconds, std::int32_t startSeconds,
                        std::int32_t startValue);
