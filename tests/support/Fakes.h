#pragma once
// Stand-ins for the window's services: a clock and a screen reader the test sets, and a speech
// control and a program starter that record what they were asked to do and fail on request.
#include "clock/TimeOfDay.h"
#include "platform/ProgramStarter.h"
#include "platform/ScreenReader.h"
#include "platform/WindowFrame.h"
#include "speech/SpeechControl.h"

#include <QRegularExpression>
#include <QStringList>
#include <QTimeZone>
#include <QWidget>
#include <functional>
#include <utility>
#include <vector>

// A clock the test sets and moves, in UTC unless given a zone. Set, it reads as the test says;
// moved on, it counts the seconds that pass and shows them in the zone it has then.
class FakeClock final : public TimeOfDay {
public:
    static inline const QDate FirstDay{2026, 3, 2};
    QTimeZone zone = QTimeZone::utc();
    mutable LocalMoment moment = at(QDateTime(FirstDay, QTime(10, 0, 0), QTimeZone::utc()));
    int readingStep = 0; // milliseconds it moves on at each reading, as a real clock does
    LocalMoment now() const override {
        return std::exchange(moment, readingStep ? at(instant().addMSecs(readingStep)) : moment);
    }
    // The time of day in the clock's zone on the day so many days after the first.
    void set(int h, int m, int s, int day = 0, int ms = 0) {
        const QDate date = FirstDay.addDays(day);
        const QTime time(h, m, s, ms);
        // In UTC by arithmetic, as the tick's benchmark sets the clock at every tick.
        moment = zone == QTimeZone::utc() ? LocalMoment{date, time,
                                                        (date.toJulianDay() - Epoch) * 86400 +
                                                            time.msecsSinceStartOfDay() / 1000}
                                          : at(QDateTime(date, time, zone));
    }
    void setInstant(const QDateTime& instant) { moment = at(instant); }
    void pass(int seconds) { moment = at(instant().addSecs(seconds)); }
    void moveTo(const QTimeZone& other) {
        zone = other;
        moment = at(instant());
    }
    QDateTime instant() const {
        return QDateTime::fromSecsSinceEpoch(moment.instant, QTimeZone::utc())
            .addMSecs(moment.time.msec());
    }

private:
    static constexpr qint64 Epoch = 2440588; // the Julian day of 1970-01-01
    LocalMoment at(const QDateTime& instant) const {
        const QDateTime local = instant.toTimeZone(zone);
        return {local.date(), local.time(), instant.toSecsSinceEpoch()};
    }
};

struct FakeVoice {
    QString name;
    std::int32_t attribute;
};

class RecordingSpeech final : public SpeechControl {
public:
    std::vector<FakeVoice> voices{{"Anna", 2}, {"Bert", 1}, {"Carl", 0}};
    std::int32_t found = 2;
    std::int32_t current = 0;
    std::int32_t settled = 0; // when set, the voice the control reports, whatever it was told
    std::int32_t reader = 0;  // the screen reader's voice, 0 while unlisted
    bool speaking = false;
    QStringList calls; // "Speak:text", "Stop", "Current:2", "Flag:0" ...
    QString failOn;    // a call name that throws SpeechError

    QStringList spoken() const {
        static const QRegularExpression speak("^Speak:");
        return calls.filter(speak).replaceInStrings(speak, QString());
    }
    void Speak(const QString& text) override { record("Speak:" + text); }
    void StopSpeaking() override { record("Stop"); }
    std::int32_t FindVoice(const QString&) override { return record("Find"), found; }
    void SelectVoice(std::int32_t v) override {
        record("Select:" + QString::number(v)), current = v;
    }
    std::int32_t VoiceCount() override { return static_cast<std::int32_t>(voices.size()); }
    QString VoiceName(std::int32_t v) override { return voices.at(std::size_t(v - 1)).name; }
    std::int32_t VoiceAttribute(std::int32_t v) override {
        return v >= 1 && std::size_t(v) <= voices.size() ? voices[std::size_t(v - 1)].attribute
                                                         : -1;
    }
    std::int32_t CurrentVoice() override { return settled ? settled : current; }
    void SetCurrentVoice(std::int32_t v) override {
        record("Current:" + QString::number(v)), current = v;
    }
    void SetVoiceFlag(std::int16_t f) override { record("Flag:" + QString::number(f)); }
    std::int32_t ReaderVoice() override { return reader; }
    bool IsSpeaking() const override { return speaking; }

private:
    void record(const QString& call) {
        if (!failOn.isEmpty() && call.startsWith(failOn))
            throw SpeechError("Speech failed: " + call.toStdString());
        calls << call;
    }
};

class RecordingStarter final : public ProgramStarter {
public:
    QStringList started;
    bool fail = false;
    void Start(const QString& commandLine) override {
        if (fail)
            throw LaunchError("Cannot start " + commandLine.toStdString());
        started << commandLine;
    }
};

class FakeReader final : public ScreenReader {
public:
    bool on = false;
    std::function<void()> changed;
    bool IsOn() const override { return on; }
    void Watch(std::function<void()> onChange) override { changed = std::move(onChange); }
    void turn(bool now) {
        on = now;
        changed();
    }
};

// A desktop's frame, told before the window is shown, only once it is shown (Qt's own decorations),
// or later still (a window manager that frames the window at map or starts late).
class FakeFrame final : public WindowFrame {
public:
    QMargins margins;
    bool toldWhenShown = false;
    std::function<void()> changed;
    QMargins Around(QWidget& window) override {
        return !toldWhenShown || window.isVisible() ? margins : QMargins();
    }
    void Watch(QWidget&, std::function<void()> onChange) override { changed = std::move(onChange); }
    void tell(QMargins now) {
        margins = now;
        changed();
    }
};
