#include "EspeakSpeechControl.h"

#include "SpokenText.h"

#include <algorithm>
#include <cstdlib>
#include <espeak-ng/espeak_ng.h>

namespace {

EspeakSpeechControl* synthesisTarget = nullptr; // the library's callback carries no user pointer

std::vector<VoiceLanguage> languagesOf(const char* packed) {
    // Pairs of a priority byte and a zero-terminated tag, ended by a zero priority.
    std::vector<VoiceLanguage> languages;
    for (const char* p = packed; p && *p; p += std::char_traits<char>::length(p + 1) + 2)
        languages.push_back({QString::fromUtf8(p + 1), static_cast<unsigned char>(*p)});
    return languages;
}

QString displayName(const char* name) {
    return QString::fromUtf8(name).replace(u'_', u' ').trimmed();
}

void check(espeak_ERROR result, const char* what) {
    if (result == EE_BUFFER_FULL)
        throw SpeechError(std::string("Speech failed: ") + what + ": the speech queue is full.");
    if (result != EE_OK)
        throw SpeechError(std::string("Speech failed: ") + what + ".");
}

} // namespace

EspeakSpeechControl::EspeakSpeechControl(Output output, const QString& userLanguage, Notice notice)
    : output_(output), userLanguage_(userLanguage), notice_(std::move(notice)) {
    setUp_ = std::thread([this] { setUp(); });
}

void EspeakSpeechControl::setUp() {
    espeak_ng_InitializePath(nullptr);
    // The library owns these strings and frees them on its next listing: copy them now.
    for (const espeak_VOICE** v = espeak_ListVoices(nullptr); v && *v; ++v)
        voices_.push_back({displayName((*v)->name), QString::fromUtf8((*v)->identifier),
                           languagesOf((*v)->languages), (*v)->gender});
    std::stable_sort(voices_.begin(), voices_.end(), [](const VoiceInfo& a, const VoiceInfo& b) {
        return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
    });
    listed_.set_value();

    espeak_ng_ERROR_CONTEXT context = nullptr;
    if (espeak_ng_Initialize(&context) != ENS_OK) {
        espeak_ng_ClearErrorContext(&context);
        unavailableReason_ = QStringLiteral(
            "the speech synthesizer found no voice data (install the package espeak-ng-data)");
        if (notice_)
            notice_(QStringLiteral("Speech is unavailable: %1. The clock and the phrase table go "
                                   "on working, silently.")
                        .arg(unavailableReason_));
        done_.set_value();
        return;
    }
    sampleRate_ = espeak_ng_GetSampleRate();
    synthesisTarget = this;
    espeak_SetSynthCallback([](short* samples, int count, espeak_EVENT* events) {
        return collectSamples(samples, count, events);
    });
    if (output_ == Output::Playback) {
        player_ = std::make_unique<PulsePlayer>(sampleRate_, [this](const QString& problem) {
            if (!notice_)
                return;
            if (problem.isEmpty())
                notice_(QStringLiteral("Speech is back: the sound server can be reached again."));
            else
                notice_(QStringLiteral("Speech is unavailable: %1. The clock and the phrase "
                                       "table go on working, silently, until it is back.")
                            .arg(problem));
        });
    }
    // The library opens a sound connection of its own here, unused, which a hung server holds
    // up for as long as it hangs.
    espeak_ng_InitializeOutput(ENOUTPUT_MODE_SYNCHRONOUS, 0, nullptr);
    settled_ = true;
    done_.set_value();
}

QString EspeakSpeechControl::UnavailableReason() const {
    awaitSetUp();
    return unavailableReason_;
}

int EspeakSpeechControl::SampleRate() const {
    awaitSetUp();
    return sampleRate_;
}

const std::vector<VoiceInfo>& EspeakSpeechControl::Voices() const {
    awaitVoices();
    return voices_;
}

EspeakSpeechControl::~EspeakSpeechControl() {
    player_.reset(); // nothing goes on speaking once the window is gone
    if (setUpDone_.wait_for(std::chrono::seconds(1)) == std::future_status::timeout) {
        // Held up by a hung sound server: the program is ending, and must not wait for it.
        setUp_.detach();
        return;
    }
    setUp_.join();
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
    if (output_ == Output::Memory)
        awaitSetUp();
    // A phrase due while the server is away is lost, not kept for later.
    if (!settled_ || (player_ && !player_->Connected()))
        return;
    if (appliedVoice_ != currentVoice_) {
        const QByteArray identifier = voiceAt(currentVoice_).identifier.toUtf8();
        check(espeak_SetVoiceByName(identifier.constData()), "the voice could not be loaded");
        appliedVoice_ = currentVoice_;
    }
    samples_.clear();
    const QByteArray utf8 = SpokenText(text).toUtf8();
    check(espeak_Synth(utf8.constData(), static_cast<std::size_t>(utf8.size()) + 1, 0,
                       POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr, nullptr),
          "the text could not be synthesized");
    if (output_ == Output::Memory)
        return;
    // The synthesizer opens with a little silence; the phrase should start at once.
    const auto firstSound = std::find_if(samples_.begin(), samples_.end(),
                                         [](short sample) { return std::abs(sample) > 64; });
    samples_.erase(samples_.begin(), firstSound);
    player_->Play(std::move(samples_));
    samples_ = {};
}

void EspeakSpeechControl::StopSpeaking() {
    if (settled_ && player_)
        player_->Stop();
}

std::int32_t EspeakSpeechControl::FindVoice(const QString& criteria) {
    awaitVoices();
    return BestVoice(voices_, criteria, userLanguage_);
}

void EspeakSpeechControl::SelectVoice(std::int32_t voice) {
    awaitVoices();
    SetCurrentVoice(voice);
}

std::int32_t EspeakSpeechControl::VoiceCount() {
    awaitVoices();
    return static_cast<std::int32_t>(voices_.size());
}

QString EspeakSpeechControl::VoiceName(std::int32_t voice) {
    awaitVoices();
    return voiceAt(voice).name;
}

std::int32_t EspeakSpeechControl::VoiceAttribute(std::int32_t voice) {
    awaitVoices();
    if (voice == 0 && voices_.empty())
        return 0; // no synthesizer: the window still starts, silently
    return voiceAt(voice).gender;
}

std::int32_t EspeakSpeechControl::CurrentVoice() {
    awaitVoices();
    return currentVoice_;
}

void EspeakSpeechControl::SetCurrentVoice(std::int32_t voice) {
    awaitVoices();
    if (voice == currentVoice_ || (voice == 0 && voices_.empty()))
        return;
    voiceAt(voice); // refused at once when there is no such voice
    currentVoice_ = voice;
}

bool EspeakSpeechControl::IsSpeaking() const {
    return settled_ && player_ && player_->IsPlaying(); // asked at every tick: never waits
}

const VoiceInfo& EspeakSpeechControl::voiceAt(std::int32_t voice) const {
    if (voice < 1 || static_cast<std::size_t>(voice) > voices_.size())
        throw SpeechError("Speech failed: there is no voice number " + std::to_string(voice) +
                          " (the synthesizer has " + std::to_string(voices_.size()) + ").");
    return voices_[static_cast<std::size_t>(voice - 1)];
}
