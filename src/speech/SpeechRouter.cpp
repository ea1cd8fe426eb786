#include "speech/SpeechRouter.h"

#include "speech/SpokenText.h"

#include <algorithm>

SpeechRouter::SpeechRouter(std::vector<SpeechEngine*> engines, const QString& userLanguage)
    : engines_(std::move(engines)), userLanguage_(userLanguage), counts_(engines_.size(), 0) {}

void SpeechRouter::Speak(const QString& text) {
    if (!engines_.empty())
        engines_[speaking_]->Speak(SpokenText(text));
}

void SpeechRouter::StopSpeaking() {
    for (SpeechEngine* engine : engines_)
        engine->Stop();
}

std::int32_t SpeechRouter::FindVoice(const QString& criteria) {
    refresh();
    return BestVoice(voices_, criteria, userLanguage_);
}

void SpeechRouter::SelectVoice(std::int32_t voice) {
    SetCurrentVoice(voice);
}

std::int32_t SpeechRouter::VoiceCount() {
    refresh();
    return static_cast<std::int32_t>(voices_.size());
}

QString SpeechRouter::VoiceName(std::int32_t voice) {
    return voiceAt(voice).name;
}

std::int32_t SpeechRouter::VoiceAttribute(std::int32_t voice) {
    if (voice == 0 && VoiceCount() == 0)
        return 0; // no synthesizer: the window still starts, silently
    return voiceAt(voice).gender;
}

std::int32_t SpeechRouter::CurrentVoice() {
    return current_;
}

void SpeechRouter::SetCurrentVoice(std::int32_t voice) {
    if (voice == current_)
        return;
    voiceAt(voice); // refused at once when there is no such voice
    const auto [engine, number] = locate(voice);
    engines_[engine]->Choose(number);
    speaking_ = engine;
    current_ = voice;
}

std::int32_t SpeechRouter::ReaderVoice() {
    refresh();
    for (std::size_t i = 0; i < voices_.size(); ++i)
        if (voices_[i].identifier.isEmpty())
            return static_cast<std::int32_t>(i) + 1;
    return 0;
}

bool SpeechRouter::IsSpeaking() const {
    return std::any_of(engines_.begin(), engines_.end(),
                       [](const SpeechEngine* engine) { return engine->IsSpeaking(); });
}

void SpeechRouter::refresh() {
    std::size_t offset = 0;
    for (std::size_t e = 0; e < engines_.size(); ++e) {
        if (static_cast<std::size_t>(engines_[e]->VoiceCount()) != counts_[e]) {
            const std::vector<VoiceInfo> listed = engines_[e]->Voices();
            const auto first = voices_.begin() + static_cast<std::ptrdiff_t>(offset);
            const auto kept = voices_.erase(first, first + static_cast<std::ptrdiff_t>(counts_[e]));
            voices_.insert(kept, listed.begin(), listed.end());
            counts_[e] = listed.size();
        }
        offset += counts_[e];
    }
}

const VoiceInfo& SpeechRouter::voiceAt(std::int32_t voice) {
    const std::int32_t count = VoiceCount();
    if (voice < 1 || voice > count)
        throw SpeechError("Speech failed: there is no voice number " + std::to_string(voice) +
                          " (the synthesizers have " + std::to_string(count) + ").");
    return voices_[static_cast<std::size_t>(voice - 1)];
}

std::pair<std::size_t, int> SpeechRouter::locate(std::int32_t voice) const {
    auto index = static_cast<std::size_t>(voice - 1);
    std::size_t engine = 0;
    for (; index >= counts_[engine]; ++engine)
        index -= counts_[engine];
    return {engine, static_cast<int>(index) + 1};
}
