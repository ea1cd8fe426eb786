#pragma once

#include <QDate>
#include <QString>
#include <cstdint>

// The arithmetic of one tick: the midnights passed, the running second count and the timer
// value. Every step is checked 32-bit arithmetic.

// Midnights from the date of the last start-up or reset to today, taken from the calendar, so
// that a midnight no tick saw (a computer asleep over it) still counts, and counts once.
std::int32_t DaysSince(const QDate& startDate, const QDate& today);

// The running second count: the count at the last start-up or reset, on by the seconds that have
// really passed since its instant. A change of daylight saving time or of the zone leaves it be.
std::int32_t RunningSeconds(std::int32_t startSeconds, std::int64_t startInstant,
                            std::int64_t nowInstant);

// Counts up when the mode text is exactly "Up"; any other text counts down.
std::int32_t TimerValue(const QString& modeText, std::int32_t nowSeconds, std::int32_t startSeconds,
                        std::int32_t startValue);
