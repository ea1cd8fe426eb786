#pragma once

#include "speech/EngineThread.h"
#include "speech/SpeechEngine.h"
#include "speech/espeak/SoundSink.h"

#include <memory>
#include <vector>

// The engine on libespeak-ng, embedded: no daemon. Used from the event thread only.
//
// Speak synthesizes the whole text while it runs (a few milliseconds for a phrase) and hands the
// sound to the sink, which plays it while Speak returns; Stop silences it at once. The library's
// own playback is not used: stopping it can block for over a second, and it reports success when
// no sound server is there.
//
// One engine per process: the library cannot be started again once it has been terminated.
//
// The library and the sink are set up on a thread of their own, started by the constructor, so
// that the window can be built meanwhile. The voice calls wait for the voice list only, never for
// a sound server; until the rest is ready, speaking is silent. Voices are in the order of their
// names.
//
// When the library cannot start (no voice data), the engine has no voices and speaking does
// nothing; while the sink hears nothing it speaks silently until sound is back, which the sink
// sees to by itself. Either way the user is told through the notice once when speech is lost and
// once when it is back, instead of at every phrase.
//
// A hung sound server can hold the set-up for as long as it hangs; destroying the engine then
// leaves the set-up to finish on its own and to put away what it made (EngineThread).
class EspeakEngine final : public SpeechEngine {
public:
    // Makes the sink on the set-up thread, once the sample rate is known.
    using SinkMaker =
        std::function<std::unique_ptr<SoundSink>(int sampleRate, SoundSink::Listener listener)>;

    explicit EspeakEngine(SinkMaker makeSink, EngineThread::Notice notice = {});
    ~EspeakEngine() override;

    // These wait for the voice list, never for a sound server.
    std::vector<VoiceInfo> Voices() const override;
    int VoiceCount() const override;
    void Choose(int voice) override;

    // Empty when the synthesizer has started; otherwise why not, in words for the user.
    QString UnavailableReason() const;
    // Whether the set-up has finished, without waiting for it: a library that opens a sound
    // connection of its own while starting waits there for a hung server.
    bool IsSetUp() const;
    int SampleRate() const;

    // Silent until the set-up has finished.
    void Speak(const QString& text) override;
    void Stop() override;
    bool IsSpeaking() const override;

private:
    // What the set-up thread makes, shared with it so that it can outlive the engine.
    struct Engine;

    void awaitVoices() const;
    void awaitSetUp() const;
    static int collectSamples(short* samples, int count, void* events);

    std::shared_ptr<Engine> engine_;
    int currentVoice_ = 0;
    int appliedVoice_ = 0; // the synthesizer's, set when speech needs it
    std::vector<short> samples_;
    EngineThread thread_;
};
