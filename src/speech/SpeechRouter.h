#pragma once

#include "speech/SpeechControl.h"
#include "speech/SpeechEngine.h"

#include <vector>

// The one speech control the window uses, routing it over engines it knows only by their
// interface. Their voices are numbered 1 to N in the order of the engines, so that an engine that
// lists its voices late (the desktop's service) goes last and VoiceCount() grows while the
// program runs. The router alone knows which engine speaks: until a voice is chosen the first,
// then the chosen voice's. Speaking goes to that engine; stopping reaches every engine, and
// IsSpeaking() hears every engine, so that speech in progress goes on when the voice changes and
// the next phrase still cuts it off. Criteria pick among all the voices (BestVoice). Used from the
// event thread only.
class SpeechRouter final : public SpeechControl {
public:
    SpeechRouter(std::vector<SpeechEngine*> engines, const QString& userLanguage);

    void Speak(const QString& text) override;
    void StopSpeaking() override;
    std::int32_t FindVoice(const QString& criteria) override;
    void SelectVoice(std::int32_t voice) override;
    std::int32_t VoiceCount() override;
    QString VoiceName(std::int32_t voice) override;
    std::int32_t VoiceAttribute(std::int32_t voice) override;
    std::int32_t CurrentVoice() override;
    void SetCurrentVoice(std::int32_t voice) override;
    // Kept for the caller; the synthesizers have nothing it stands for.
    void SetVoiceFlag(std::int16_t) override {}
    // The first voice with no identifier: the desktop's default voice.
    std::int32_t ReaderVoice() override;
    bool IsSpeaking() const override;

private:
    // Reads the voices the engines have listed since.
    void refresh();
    const VoiceInfo& voiceAt(std::int32_t voice);
    // The engine that has the voice, and the voice's number there.
    std::pair<std::size_t, int> locate(std::int32_t voice) const;

    std::vector<SpeechEngine*> engines_;
    QString userLanguage_;
    std::vector<VoiceInfo> voices_;   // all, in number order
    std::vector<std::size_t> counts_; // each engine's share of voices_
    std::size_t speaking_ = 0;        // the engine that speaks
    std::int32_t current_ = 0;
};
