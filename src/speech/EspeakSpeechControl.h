#pragma once

#include "SpeechControl.h"
#include "VoiceCriteria.h"

#include <functional>
#include <memory>
#include <thread>
#include <vector>

// The speech control on libespeak-ng, embedded: no daemon. Used from the event thread only.
//
// Speak synthesizes the whole text while it runs (a few milliseconds for a phrase) and, in
// Playback mode, hands the sound to a PulsePlayer and returns while it plays; StopSpeaking
// silences it at once. Memory mode keeps the samples instead, which is what lets a test hear what
// would have been said. The library's own playback is not used: stopping it can block for over a
// second, and it reports success when no sound server is there.
//
// One control per process: the library cannot be started again once it has been terminated.
//
// The library and the sound server connection are set up on a thread of their own, started by
// the constructor, so that the window can be built meanwhile. The voice calls wait for the voice
// list only, never for a sound server; until the rest is ready, speaking is silent. Voices are
// numbered in the order of their names.
//
// When the library cannot start (no voice data), the control has no voices and speaking does
// nothing; without a sound server it has its voices but speaks silently until the server comes
// back, which it does by itself. Either way the user is told through the notice once when speech
// is lost and once when it is back, instead of at every phrase.
//
// A hung sound server can hold the set-up for as long as it hangs. Destroying the control then
// waits a second at most: the set-up is left to finish on its own and to put away what it made,
// and the notice is no longer called.
class EspeakSpeechControl final : public SpeechControl {
public:
    enum class Output { Playback, Memory };
    // Called from any thread with a message for the user, never once the destructor has begun.
    using Notice = std::function<void(const QString& message)>;

    EspeakSpeechControl(Output output, const QString& userLanguage, Notice notice = {});
    ~EspeakSpeechControl() override;
    EspeakSpeechControl(const EspeakSpeechControl&) = delete;
    EspeakSpeechControl& operator=(const EspeakSpeechControl&) = delete;

    // Empty when the synthesizer has started; otherwise why not, in words for the user.
    QString UnavailableReason() const;
    // Whether the set-up has finished, without waiting for it: a library that opens a sound
    // connection of its own while starting waits there for a hung server.
    bool IsSetUp() const;

    int SampleRate() const;
    // In voice-number order.
    const std::vector<VoiceInfo>& Voices() const;
    // Memory mode: what the last Speak produced, 16-bit mono at SampleRate().
    const std::vector<short>& Samples() const { return samples_; }

    void Speak(const QString& text) override;
    void StopSpeaking() override;
    std::int32_t FindVoice(const QString& criteria) override;
    void SelectVoice(std::int32_t voice) override;
    std::int32_t VoiceCount() override;
    QString VoiceName(std::int32_t voice) override;
    // The voice's gender as the synthesizer has it: 0 unknown, 1 male, 2 female.
    std::int32_t VoiceAttribute(std::int32_t voice) override;
    std::int32_t CurrentVoice() override;
    void SetCurrentVoice(std::int32_t voice) override;
    // Kept for the caller; the synthesizer has nothing it stands for.
    void SetVoiceFlag(std::int16_t flag) override { voiceFlag_ = flag; }
    // None: a screen reader speaks through the desktop's speech service, never through this.
    std::int32_t ReaderVoice() override { return 0; }
    // True while speech is being heard.
    bool IsSpeaking() const;

private:
    // What the set-up thread makes, shared with it so that it can outlive the control.
    struct Engine;

    void awaitVoices() const;
    void awaitSetUp() const;
    const VoiceInfo& voiceAt(std::int32_t voice) const;
    static int collectSamples(short* samples, int count, void* events);

    Output output_;
    QString userLanguage_;
    std::shared_ptr<Engine> engine_;
    std::int32_t currentVoice_ = 0;
    std::int32_t appliedVoice_ = 0; // the synthesizer's, set when speech needs it
    std::thread setUp_;
    std::int16_t voiceFlag_ = 0;
    std::vector<short> samples_;
};
