#pragma once

#include <QString>
#include <QTime>
#include <cstdint>

// The "HH:MM:SS" texts the program shows, reads and compares, and the second counts behind them.
// Fields are taken by position, as the user's text may be anything.

// The time of day as "HH:mm:ss", 24-hour, zero-padded.
QString FormatClock(const QTime& timeOfDay);

// Minutes x 60 + hours x 3600 + seconds of the three positional fields, each read as a number.
double FieldSeconds(const QString& text);

// Seconds of a text made by FormatClock.
std::int32_t ClockSeconds(const QString& clockText);

// Seconds of a user-typed start value: each invalid field counts as zero, so any text gives a
// value in 0 to 86399.
double TimerStartSeconds(const QString& timerStartText);

// The timer display: "HH:MM:SS" with as many hour digits as needed, "- " in front when negative.
QString FormatTimerText(std::int32_t value);
