#include "CombinedSpeechControl.h"

#include "SpokenText.h"

CombinedSpeechControl::CombinedSpeechControl(EspeakSpeechControl& embedded, DesktopSpeech& desktop,
                                             const QString& userLanguage)
    : embedded_(embedded), desktop_(desktop), userLanguage_(userLanguage) {}

void CombinedSpeechControl::Speak(const QString& text) {
    if (desktopChosen_)
        desktop_.Speak(SpokenText(text));
    else
        embedded_.Speak(text);
}

void CombinedSpeechControl::StopSpeaking() {
    if (desktopChosen_)
        desktop_.Stop();
    else
        embedded_.StopSpeaking();
}

std::int32_t CombinedSpeechControl::FindVoice(const QString& criteria) {
    std::vector<VoiceInfo> voices = embedded_.Voices();
    VoiceCount(); // reads the desktop voices there are
    voices.insert(voices.end(), desktopVoices_.begin(), desktopVoices_.end());
    return BestVoice(voices, criteria, userLanguage_);
}

void CombinedSpeechControl::SelectVoice(std::int32_t voice) {
    SetCurrentVoice(voice);
}

std::int32_t CombinedSpeechControl::VoiceCount() {
    if (embeddedCount_ < 0)
        embeddedCount_ = embedded_.VoiceCount();
    if (static_cast<std::size_t>(desktop_.VoiceCount()) != desktopVoices_.size())
        desktopVoices_ = desktop_.Voices();
    return embeddedCount_ + static_cast<std::int32_t>(desktopVoices_.size());
}

QString CombinedSpeechControl::VoiceName(std::int32_t voice) {
    return desktopIndex(voice) < 0 ? embedded_.VoiceName(voice) : desktopVoice(voice).name;
}

std::int32_t CombinedSpeechControl::VoiceAttribute(std::int32_t voice) {
    return desktopIndex(voice) < 0 ? embedded_.VoiceAttribute(voice) : desktopVoice(voice).gender;
}

std::int32_t CombinedSpeechControl::CurrentVoice() {
    return desktopChosen_ ? current_ : embedded_.CurrentVoice();
}

void CombinedSpeechControl::SetCurrentVoice(std::int32_t voice) {
    const int index = desktopIndex(voice);
    if (index >= 0)
        desktopVoice(voice); // refused at once when there is no such voice
    else
        embedded_.SetCurrentVoice(voice);
    if ((index >= 0) != desktopChosen_) { // the engine left behind says no more
        if (index >= 0)
            embedded_.StopSpeaking();
        else
            desktop_.Stop();
    }
    desktop_.Choose(index);
    desktopChosen_ = index >= 0;
    current_ = voice;
}

std::int32_t CombinedSpeechControl::ReaderVoice() {
    VoiceCount();
    for (std::size_t i = 0; i < desktopVoices_.size(); ++i)
        if (desktopVoices_[i].identifier.isEmpty())
            return embeddedCount_ + static_cast<std::int32_t>(i) + 1;
    return 0;
}

bool CombinedSpeechControl::IsSpeaking() const {
    return desktopChosen_ ? desktop_.IsSpeaking() : embedded_.IsSpeaking();
}

int CombinedSpeechControl::desktopIndex(std::int32_t voice) {
    VoiceCount();
    return voice > embeddedCount_ ? voice - embeddedCount_ - 1 : -1;
}

const VoiceInfo& CombinedSpeechControl::desktopVoice(std::int32_t voice) {
    const std::int32_t count = VoiceCount();
    if (voice > count)
        throw SpeechError("Speech failed: there is no voice number " + std::to_string(voice) +
                          " (the synthesizers have " + std::to_string(count) + ").");
    return desktopVoices_[static_cast<std::size_t>(desktopIndex(voice))];
}
