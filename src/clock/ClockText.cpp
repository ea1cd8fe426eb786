#include "clock/ClockText.h"

#include "clock/CheckedArithmetic.h"

#include <cmath>

namespace {

constexpr int HoursPosition = 1;
constexpr int MinutesPosition = 4;
constexpr int SecondsPosition = 7;

QStringView fieldView(const QString& text, int position) {
    return QStringView(text).mid(position - 1, 2);
}

// The whole field matches "[first][second]": two characters, each in its range of digits.
bool matchesDigits(QStringView field, char firstLow, char firstHigh, char secondLow,
                   char secondHigh) {
    return field.size() == 2 && field[0] >= QLatin1Char(firstLow) &&
           field[0] <= QLatin1Char(firstHigh) && field[1] >= QLatin1Char(secondLow) &&
           field[1] <= QLatin1Char(secondHigh);
}

// A field's number. Fields of plain decimal digits, which the tick reads ten times a second, are
// read directly; anything else as a decimal number the way text converts to one.
double numberOf(QStringView field) {
    int value = 0;
    for (const QChar c : field) {
        if (c < u'0' || c > u'9')
            return field.toDouble();
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

double secondsOf(QStringView hours, QStringView minutes, QStringView seconds) {
    return numberOf(minutes) * 60 + numberOf(hours) * 3600 + numberOf(seconds);
}

// At least two digits, with a leading zero below ten.
void appendTwoDigitsAtLeast(QString& text, std::int64_t value) {
    if (value < 10)
        text += u'0';
    text += QString::number(value);
}

// "HH:MM:SS" after whatever the text already holds.
void appendClockFields(QString& text, std::int64_t hours, std::int64_t minutes,
                       std::int64_t seconds) {
    appendTwoDigitsAtLeast(text, hours);
    text += u':';
    appendTwoDigitsAtLeast(text, minutes);
    text += u':';
    appendTwoDigitsAtLeast(text, seconds);
}

} // namespace

QString FormatClock(const QTime& timeOfDay) {
    if (!timeOfDay.isValid())
        return {};
    QString text;
    text.reserve(8);
    appendClockFields(text, timeOfDay.hour(), timeOfDay.minute(), timeOfDay.second());
    return text;
}

double FieldSeconds(const QString& text) {
    return secondsOf(fieldView(text, HoursPosition), fieldView(text, MinutesPosition),
                     fieldView(text, SecondsPosition));
}

std::int32_t ClockSeconds(const QString& clockText) {
    return checked::roundToInt32(FieldSeconds(clockText));
}

double TimerStartSeconds(const QString& timerStartText) {
    const QStringView hours = fieldView(timerStartText, HoursPosition);
    const QStringView minutes = fieldView(timerStartText, MinutesPosition);
    const QStringView seconds = fieldView(timerStartText, SecondsPosition);
    const bool hoursValid =
        matchesDigits(hours, '2', '2', '0', '3') || matchesDigits(hours, '0', '1', '0', '9');
    const bool minutesValid = matchesDigits(minutes, '0', '5', '0', '9');
    const bool secondsValid = matchesDigits(seconds, '0', '5', '0', '9');
    const QStringView zero = u"00";
    return secondsOf(hoursValid ? hours : zero, minutesValid ? minutes : zero,
                     secondsValid ? seconds : zero);
}

QString FormatTimerText(std::int32_t value) {
    const std::int64_t magnitude = std::llabs(std::int64_t{value});
    const auto hours = static_cast<std::int64_t>(std::floor(magnitude / 3600.0));
    const auto minutes = static_cast<std::int64_t>(std::floor((magnitude - hours * 3600) / 60.0));
    const std::int64_t seconds = magnitude - minutes * 60 - hours * 3600;
    QString text;
    text.reserve(16);
    if (value < 0)
        text += QStringLiteral("- ");
    appendClockFields(text, hours, minutes, seconds);
    return text;
}
