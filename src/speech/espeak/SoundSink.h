#pragma once

#include <QString>
#include <functional>
#include <vector>

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
