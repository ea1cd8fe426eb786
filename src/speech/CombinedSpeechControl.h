#pragma once

#include "DesktopSpeech.h"
#include "EspeakSpeechControl.h"
#include "SpeechControl.h"

// The one speech control the window uses, over both engines: the embedded voices keep their
// numbers 1 to N, and the desktop service's voices follow them once it has answered, so that
// VoiceCount() can grow while the program runs. Choosing a voice routes speaking, stopping and
// IsSpeaking() to the engine that has it; the engine left behind is stopped. Criteria pick among
// both kinds of voice (BestVoice). Used from the event thread only.
class CombinedSpeechControl final : public SpeechControl {
public:
    CombinedSpeechControl(EspeakSpeechControl& embedded, DesktopSpeech& desktop,
                          const QString& userLanguage);

    void Speak(const QString& text) override;
    void StopSpeaking() override;
    std::int32_t FindVoice(const QString& criteria) override;
    void SelectVoice(std::int32_t voice) override;
    std::int32_t VoiceCount() override;
    QString VoiceName(std::int32_t voice) override;
    std::int32_t VoiceAttribute(std::int32_t voice) override;
    std::int32_t CurrentVoice() override;
    void SetCurrentVoice(std::int32_t voice) override;
    void SetVoiceFlag(std::int16_t flag) override { embedded_.SetVoiceFlag(flag); }
    // The desktop service's default voice, which is the one its screen reader speaks with.
    std::int32_t ReaderVoice() override;
    bool IsSpeaking() const;

private:
    // The desktop voice's index in its own list, -1 for an embedded voice.
    int desktopIndex(std::int32_t voice);
    const VoiceInfo& desktopVoice(std::int32_t voice);

    EspeakSpeechControl& embedded_;
    DesktopSpeech& desktop_;
    QString userLanguage_;
    std::int32_t embeddedCount_ = -1; // known once the embedded list is
    std::int32_t current_ = 0;        // while a desktop voice is chosen
    bool desktopChosen_ = false;
    std::vector<VoiceInfo> desktopVoices_; // as far as read from the engine
};
