#include "ClockText.h"

#include "CheckedArithmetic.h"

#include <QRegularExpression>
#include <cmath>

namespace {

constexpr int HoursPosition = 1;
constexpr int MinutesPosition = 4;
constexpr int SecondsPosition = 7;

bool matchesWhole(const QString& field, const QRegularExpression& pattern) {
    return pattern.match(field).hasMatch();
}

QRegularExpression wholeText(const char* pattern) {
    return QRegularExpression(QRegularExpression::anchoredPattern(QLatin1String(pattern)));
}

QString validOrZero(const QString& field, bool valid) {
    return valid ? field : QStringLiteral("00");
}

double secondsOf(const QString& hours, const QString& minutes, const QString& seconds) {
    return minutes.toDouble() * 60 + hours.toDouble() * 3600 + seconds.toDouble();
}

QString twoDigitsAtLeast(std::int64_t value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

} // namespace

QString ClockField(const QString& text, int position) {
    return text.mid(position - 1, 2);
}

QString FormatClock(const QTime& timeOfDay) {
    return timeOfDay.toString(QStringLiteral("HH:mm:ss"));
}

std::int32_t ClockSeconds(const QString& clockText) {
    return checked::roundToInt32(secondsOf(ClockField(clockText, HoursPosition),
                                           ClockField(clockText, MinutesPosition),
                                           ClockField(clockText, SecondsPosition)));
}

double TimerStartSeconds(const QString& timerStartText) {
    const QString hours = ClockField(timerStartText, HoursPosition);
    const QString minutes = ClockField(timerStartText, MinutesPosition);
    const QString seconds = ClockField(timerStartText, SecondsPosition);
    static const QRegularExpression hours20s = wholeText("2[0-3]");
    static const QRegularExpression hours00s = wholeText("[0-1][0-9]");
    static const QRegularExpression sixties = wholeText("[0-5][0-9]");
    return secondsOf(
        validOrZero(hours, matchesWhole(hours, hours20s) || matchesWhole(hours, hours00s)),
        validOrZero(minutes, matchesWhole(minutes, sixties)),
        validOrZero(seconds, matchesWhole(seconds, sixties)));
}

QString FormatTimerText(std::int32_t value) {
    const std::int64_t magnitude = std::llabs(std::int64_t{value});
    const auto hours = static_cast<std::int64_t>(std::floor(magnitude / 3600.0));
    const auto minutes = static_cast<std::int64_t>(std::floor((magnitude - hours * 3600) / 60.0));
    const std::int64_t seconds = magnitude - minutes * 60 - hours * 3600;
    return (value < 0 ? QStringLiteral("- ") : QString()) + twoDigitsAtLeast(hours) + u':' +
           twoDigitsAtLeast(minutes) + u':' + twoDigitsAtLeast(seconds);
}
