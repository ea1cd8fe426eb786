#pragma once

#include "PulsePlayer.h"
#include "SpeechControl.h"
#include "VoiceCriteria.h"

#include <memory>
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
// When the library cannot start (no voice data), the control has no voices and speaking does
// nothing; without a sound server it has its voices but speaks silently. Either way the user is
// told once, through UnavailableReason(), instead of at every phrase.
class EspeakSpeechControl final : public SpeechControl {
public:
    enum class Output { Playback, Memory };

    explicit EspeakSpeechControl(Output output, const QString& userLanguage);
    ~EspeakSpeechControl() override;
    EspeakSpeechControl(const EspeakSpeechControl&) = delete;
    EspeakSpeechControl& operator=(const EspeakSpeechControl&) = delete;

    // Empty while speech works; otherwise why it does not, in words for the user.
    QString UnavailableReason() const { return unavailableReason_; }

    int SampleRate() const { return sampleRate_; }
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
    // True while speech is being heard.
    bool IsSpeaking() const;

private:
    const VoiceInfo& voiceAt(std::int32_t voice) const;
    static int collectSamples(short* samples, int count, void* events);

    bool heard() const { return player_ && player_->Problem().isEmpty(); }

    Output output_;
    QString userLanguage_;
    QString unavailableReason_;
    int sampleRate_ = 0;
    std::vector<VoiceInfo> voices_;
    std::int32_t currentVoice_ = 0;
    std::int16_t voiceFlag_ = 0;
    std::vector<short> samples_;
    std::unique_ptr<PulsePlayer> player_;
};
