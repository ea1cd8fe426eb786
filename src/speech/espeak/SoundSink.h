#pragma once

#include <QLoggingCategory>
#include <QString>
#include <functional>
#include <vector>

// What the engine handed over and when, and what the sound server told the sink ("horavox.sound",
// off unless asked for by QT_LOGGING_RULES): where a phrase went unheard, whether it ever left.
Q_DECLARE_LOGGING_CATEGORY(soundAccount)

// Where the embedded engine's sound goes: 16-bit mono samples at the synthesizer's rate.
class SoundSink {
public:
    // Called on the sink's own thread when sound stops being heard (with the reason, in words for
    // the user) and when it is heard again (with an empty reason).
    using Listener = std::function<void(const QString& problem)>;

    virtual ~SoundSink() = default;

    // Replaces whatever is playing.
    virtual void Play(std::vector<short> samples) = 0;
    virtual void Stop() = 0;
    virtual bool IsPlaying() const = 0;
};
