#include "EspeakSpeechControl.h"

#include "PulsePlayer.h"
#include "SpokenText.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <espeak-ng/espeak_ng.h>
#include <future>
#include <mutex>

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

struct EspeakSpeechControl::Engine {
    Engine(Output output, Notice notice) : output(output), notice(std::move(notice)) {}

    const Output output;
    std::promise<void> listed;
    const std::shared_future<void> voicesListed = listed.get_future().share();
    std::promise<void> done;
    const std::shared_future<void> setUpDone = done.get_future().share();
    std::atomic<bool> settled = false;
    // Written by the set-up thread, read once it has said so through the futures above.
    QString unavailableReason;
    int sampleRate = 0;
    std::vector<VoiceInfo> voices;
    std::mutex mutex;
    Notice notice;          // guarded: emptied when the control goes
    bool finished = false;  // guarded: the set-up thread has nothing more to do
    bool abandoned = false; // guarded: the control has gone and left the tearing down to it
    std::unique_ptr<PulsePlayer> player; // last, so that it goes before what its listener uses

    void setUp();
    void tearDown();
    void tell(const QString& message) {
        const std::lock_guard lock(mutex);
        if (notice)
            notice(message);
    }
};

EspeakSpeechControl::EspeakSpeechControl(Output output, const QString& userLanguage, Notice notice)
    : output_(output), userLanguage_(userLanguage),
      engine_(std::make_shared<Engine>(output, std::move(notice))) {
    setUp_ = std::thread([engine = engine_] {
        engine->setUp();
        bool abandoned = false;
        {
            const std::lock_guard lock(engine->mutex);
            engine->finished = true;
            abandoned = engine->abandoned;
        }
        if (abandoned)
            engine->tearDown();
    });
}

void EspeakSpeechControl::Engine::setUp() {
    espeak_ng_InitializePath(nullptr);
    // The library owns these strings and frees them on its next listing: copy them now.
    for (const espeak_VOICE** v = espeak_ListVoices(nullptr); v && *v; ++v)
        voices.push_back({displayName((*v)->name), QString::fromUtf8((*v)->identifier),
                          languagesOf((*v)->languages), (*v)->gender});
    std::stable_sort(voices.begin(), voices.end(), [](const VoiceInfo& a, const VoiceInfo& b) {
        return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
    });
    listed.set_value();

    espeak_ng_ERROR_CONTEXT context = nullptr;
    if (espeak_ng_Initialize(&context) != ENS_OK) {
        espeak_ng_ClearErrorContext(&context);
        unavailableReason = QStringLiteral(
            "the speech synthesizer found no voice data (install the package espeak-ng-data)");
        tell(QStringLiteral("Speech is unavailable: %1. The clock and the phrase table go on "
                            "working, silently.")
                 .arg(unavailableReason));
        done.set_value();
        return;
    }
    sampleRate = espeak_ng_GetSampleRate();
    espeak_SetSynthCallback([](short* samples, int count, espeak_EVENT* events) {
        return collectSamples(samples, count, events);
    });
    if (output == Output::Playback) {
        player = std::make_unique<PulsePlayer>(sampleRate, [this](const QString& problem) {
            if (problem.isEmpty())
                tell(QStringLiteral("Speech is back: sound can be heard again."));
            else
                tell(QStringLiteral("Speech is unavailable: %1. The clock and the phrase table go "
                                    "on working, silently, until it is back.")
                         .arg(problem));
        });
    }
    // The library opens a sound connection of its own here, unused, which a hung server holds
    // up for as long as it hangs.
    espeak_ng_InitializeOutput(ENOUTPUT_MODE_SYNCHRONOUS, 0, nullptr);
    settled = true;
    done.set_value();
}

void EspeakSpeechControl::Engine::tearDown() {
    player.reset(); // nothing goes on speaking once the window is gone
    if (sampleRate > 0)
        espeak_Terminate();
}

void EspeakSpeechControl::awaitVoices() const {
    engine_->voicesListed.wait();
}

void EspeakSpeechControl::awaitSetUp() const {
    engine_->setUpDone.wait();
}

bool EspeakSpeechControl::IsSetUp() const {
    return engine_->setUpDone.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

QString EspeakSpeechControl::UnavailableReason() const {
    awaitSetUp();
    return engine_->unavailableReason;
}

int EspeakSpeechControl::SampleRate() const {
    awaitSetUp();
    return engine_->sampleRate;
}

const std::vector<VoiceInfo>& EspeakSpeechControl::Voices() const {
    awaitVoices();
    return engine_->voices;
}

EspeakSpeechControl::~EspeakSpeechControl() {
    if (synthesisTarget == this)
        synthesisTarget = nullptr;
    {
        const std::lock_guard lock(engine_->mutex);
        engine_->notice = nullptr; // whatever showed the notices may be going too
    }
    if (engine_->setUpDone.wait_for(std::chrono::seconds(1)) == std::future_status::timeout) {
        // Held up by a hung sound server. The program is ending and must not wait for it: the
        // set-up finishes and tears down by itself, into the engine it shares.
        const std::lock_guard lock(engine_->mutex);
        if (!engine_->finished) {
            engine_->abandoned = true;
            setUp_.detach();
            return;
        }
    }
    setUp_.join();
    engine_->tearDown();
}

int EspeakSpeechControl::collectSamples(short* samples, int count, void*) {
    if (synthesisTarget && samples)
        synthesisTarget->samples_.insert(synthesisTarget->samples_.end(), samples, samples + count);
    return 0;
}

void EspeakSpeechControl::Speak(const QString& text) {
    if (output_ == Output::Memory)
        awaitSetUp();
    if (!engine_->settled) {
        qCDebug(soundAccount) << "speak dropped: the synthesizer is not set up";
        return;
    }
    if (appliedVoice_ != currentVoice_) {
        const QByteArray identifier = voiceAt(currentVoice_).identifier.toUtf8();
        check(espeak_SetVoiceByName(identifier.constData()), "the voice could not be loaded");
        appliedVoice_ = currentVoice_;
    }
    samples_.clear();
    synthesisTarget = this;
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
    engine_->player->Play(std::move(samples_));
    samples_ = {};
}

void EspeakSpeechControl::StopSpeaking() {
    if (engine_->settled && engine_->player)
        engine_->player->Stop();
}

std::int32_t EspeakSpeechControl::FindVoice(const QString& criteria) {
    awaitVoices();
    return BestVoice(engine_->voices, criteria, userLanguage_);
}

void EspeakSpeechControl::SelectVoice(std::int32_t voice) {
    awaitVoices();
    SetCurrentVoice(voice);
}

std::int32_t EspeakSpeechControl::VoiceCount() {
    awaitVoices();
    return static_cast<std::int32_t>(engine_->voices.size());
}

QString EspeakSpeechControl::VoiceName(std::int32_t voice) {
    awaitVoices();
    return voiceAt(voice).name;
}

std::int32_t EspeakSpeechControl::VoiceAttribute(std::int32_t voice) {
    awaitVoices();
    if (voice == 0 && engine_->voices.empty())
        return 0; // no synthesizer: the window still starts, silently
    return voiceAt(voice).gender;
}

std::int32_t EspeakSpeechControl::CurrentVoice() {
    awaitVoices();
    return currentVoice_;
}

void EspeakSpeechControl::SetCurrentVoice(std::int32_t voice) {
    awaitVoices();
    if (voice == currentVoice_ || (voice == 0 && engine_->voices.empty()))
        return;
    voiceAt(voice); // refused at once when there is no such voice
    currentVoice_ = voice;
}

bool EspeakSpeechControl::IsSpeaking() const {
    // Asked at every tick: never waits.
    return engine_->settled && engine_->player && engine_->player->IsPlaying();
}

const VoiceInfo& EspeakSpeechControl::voiceAt(std::int32_t voice) const {
    if (voice < 1 || static_cast<std::size_t>(voice) > engine_->voices.size())
        throw SpeechError("Speech failed: there is no voice number " + std::to_string(voice) +
                          " (the synthesizer has " + std::to_string(engine_->voices.size()) + ").");
    return engine_->voices[static_cast<std::size_t>(voice - 1)];
}
