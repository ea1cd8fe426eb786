#include "EspeakSpeechControl.h"

#include <algorithm>
#include <cstdlib>
#include <espeak-ng/speak_lib.h>

namespace {

EspeakSpeechControl* synthesisTarget = nullptr; // the library's callback carries no user pointer

QStringList languagesOf(const char* packed) {
    // Pairs of a priority byte and a zero-terminated tag, ended by a zero priority.
    QStringList languages;
    for (const char* p = packed; p && *p; p += std::char_traits<char>::length(p + 1) + 2)
        languages << QString::fromUtf8(p + 1);
    return languages;
}

QString displayName(const char* name) {
    return QString::fromUtf8(name).replace(u'_', u' ');
}

void check(espeak_ERROR result, const char* what) {
    if (result == EE_BUFFER_FULL)
        throw SpeechError(std::string("Speech failed: ") + what + ": the speech queue is full.");
    if (result != EE_OK)
        throw SpeechError(std::string("Speech failed: ") + what + ".");
}

} // namespace

EspeakSpeechControl::EspeakSpeechControl(Output output, const QString& userLanguage)
    : output_(output), userLanguage_(userLanguage) {
    sampleRate_ =
        espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_DONT_EXIT);
    if (sampleRate_ <= 0) {
        unavailableReason_ = QStringLiteral(
            "the speech synthesizer found no voice data (install the package espeak-ng-data)");
        return;
    }
    synthesisTarget = this;
    espeak_SetSynthCallback([](short* samples, int count, espeak_EVENT* events) {
        return collectSamples(samples, count, events);
    });
    if (output == Output::Playback) {
        player_ = std::make_unique<PulsePlayer>(sampleRate_);
        unavailableReason_ = player_->Problem();
    }
    // The library owns these strings and frees them on its next listing: copy them now.
    for (const espeak_VOICE** v = espeak_ListVoices(nullptr); v && *v; ++v)
        voices_.push_back({displayName((*v)->name), QString::fromUtf8((*v)->identifier),
                           languagesOf((*v)->languages), (*v)->gender});
}

EspeakSpeechControl::~EspeakSpeechControl() {
    player_.reset(); // nothing goes on speaking once the window is gone
    if (sampleRate_ <= 0)
        return;
    espeak_Terminate();
    if (synthesisTarget == this)
        synthesisTarget = nullptr;
}

int EspeakSpeechControl::collectSamples(short* samples, int count, void*) {
    if (synthesisTarget && samples)
        synthesisTarget->samples_.insert(synthesisTarget->samples_.end(), samples, samples + count);
    return 0;
}

void EspeakSpeechControl::Speak(const QString& text) {
    if (sampleRate_ <= 0 || (output_ == Output::Playback && !heard()))
        return;
    samples_.clear();
    const QByteArray utf8 = text.toUtf8();
    check(espeak_Synth(utf8.constData(), static_cast<std::size_t>(utf8.size()) + 1, 0,
                       POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr, nullptr),
          "the text could not be synthesized");
    if (output_ == Output::Memory)
        return;
    // The synthesizer opens with a little silence; the phrase should start at once.
    const auto firstSound = std::find_if(samples_.begin(), samples_.end(),
                                         [](short sample) { return std::abs(sample) > 64; });
    samples_.erase(samples_.begin(), firstSound);
    try {
        player_->Play(std::move(samples_));
    } catch (const std::runtime_error& error) {
        throw SpeechError(std::string("Speech failed: ") + error.what() + ".");
    }
    samples_.clear();
}

void EspeakSpeechControl::StopSpeaking() {
    if (player_)
        player_->Stop();
}

std::int32_t EspeakSpeechControl::FindVoice(const QString& criteria) {
    return BestVoice(voices_, criteria, userLanguage_);
}

void EspeakSpeechControl::SelectVoice(std::int32_t voice) {
    SetCurrentVoice(voice);
}

std::int32_t EspeakSpeechControl::VoiceCount() {
    return static_cast<std::int32_t>(voices_.size());
}

QString EspeakSpeechControl::VoiceName(std::int32_t voice) {
    return voiceAt(voice).name;
}

std::int32_t EspeakSpeechControl::VoiceAttribute(std::int32_t voice) {
    if (voice == 0 && voices_.empty())
        return 0; // no synthesizer: the window still starts, silently
    return voiceAt(voice).gender;
}

std::int32_t EspeakSpeechControl::CurrentVoice() {
    return currentVoice_;
}

void EspeakSpeechControl::SetCurrentVoice(std::int32_t voice) {
    if (voice == currentVoice_ || (voice == 0 && voices_.empty()))
        return;
    const QByteArray identifier = voiceAt(voice).identifier.toUtf8();
    check(espeak_SetVoiceByName(identifier.constData()), "the voice could not be loaded");
    currentVoice_ = voice;
}

bool EspeakSpeechControl::IsSpeaking() const {
    return player_ && player_->IsPlaying();
}

const VoiceInfo& EspeakSpeechControl::voiceAt(std::int32_t voice) const {
    if (voice < 1 || static_cast<std::size_t>(voice) > voices_.size())
        throw SpeechError("Speech failed: there is no voice number " + std::to_string(voice) +
                          " (the synthesizer has " + std::to_string(voices_.size()) + ").");
    return voices_[static_cast<std::size_t>(voice - 1)];
}
