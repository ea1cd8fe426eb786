#include "speech/espeak/EspeakEngine.h"

#include "speech/SpeechControl.h"
#include "speech/SpeechNotice.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <espeak-ng/espeak_ng.h>
#include <future>

namespace {

EspeakEngine* synthesisTarget = nullptr; // the library's callback carries no user pointer

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

struct EspeakEngine::Engine {
    std::promise<void> listed;
    const std::shared_future<void> voicesListed = listed.get_future().share();
    std::promise<void> done;
    const std::shared_future<void> setUpDone = done.get_future().share();
    std::atomic<bool> settled = false;
    // Written by the set-up thread, read once it has said so through the futures above.
    QString unavailableReason;
    int sampleRate = 0;
    std::vector<VoiceInfo> voices;
    std::unique_ptr<SoundSink> sink;

    void setUp(const SinkMaker& makeSink, const EngineThread::Notice& tell);
    void tearDown();
};

EspeakEngine::EspeakEngine(SinkMaker makeSink, EngineThread::Notice notice)
    : engine_(std::make_shared<Engine>()), thread_(std::move(notice)) {
    thread_.Start([engine = engine_, makeSink = std::move(makeSink)](const auto& tell) {
        engine->setUp(makeSink, tell);
    });
}

void EspeakEngine::Engine::setUp(const SinkMaker& makeSink, const EngineThread::Notice& tell) {
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
        tell(UnavailableNotice(unavailableReason, false));
        done.set_value();
        return;
    }
    sampleRate = espeak_ng_GetSampleRate();
    espeak_SetSynthCallback([](short* samples, int count, espeak_EVENT* events) {
        return collectSamples(samples, count, events);
    });
    sink = makeSink(sampleRate, [tell](const QString& problem) {
        tell(problem.isEmpty() ? BackNotice(QStringLiteral("sound can be heard again"))
                               : UnavailableNotice(problem));
    });
    // The library opens a sound connection of its own here, unused, which a hung server holds
    // up for as long as it hangs.
    espeak_ng_InitializeOutput(ENOUTPUT_MODE_SYNCHRONOUS, 0, nullptr);
    settled = true;
    done.set_value();
}

void EspeakEngine::Engine::tearDown() {
    sink.reset(); // nothing goes on speaking once the window is gone
    if (sampleRate > 0)
        espeak_Terminate();
}

void EspeakEngine::awaitVoices() const {
    engine_->voicesListed.wait();
}

void EspeakEngine::awaitSetUp() const {
    engine_->setUpDone.wait();
}

bool EspeakEngine::IsSetUp() const {
    return engine_->setUpDone.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

QString EspeakEngine::UnavailableReason() const {
    awaitSetUp();
    return engine_->unavailableReason;
}

int EspeakEngine::SampleRate() const {
    awaitSetUp();
    return engine_->sampleRate;
}

EspeakEngine::~EspeakEngine() {
    if (synthesisTarget == this)
        synthesisTarget = nullptr;
    thread_.Finish([engine = engine_] { engine->tearDown(); });
}

int EspeakEngine::collectSamples(short* samples, int count, void*) {
    if (synthesisTarget && samples)
        synthesisTarget->samples_.insert(synthesisTarget->samples_.end(), samples, samples + count);
    return 0;
}

void EspeakEngine::Speak(const QString& text) {
    // The sink decides: a phrase due while the server is away is lost, and the user told so.
    if (!engine_->settled)
        return;
    if (currentVoice_ != 0 && appliedVoice_ != currentVoice_) {
        const QByteArray identifier =
            engine_->voices.at(static_cast<std::size_t>(currentVoice_ - 1)).identifier.toUtf8();
        check(espeak_SetVoiceByName(identifier.constData()), "the voice could not be loaded");
        appliedVoice_ = currentVoice_;
    }
    samples_.clear();
    synthesisTarget = this;
    const QByteArray utf8 = text.toUtf8();
    check(espeak_Synth(utf8.constData(), static_cast<std::size_t>(utf8.size()) + 1, 0,
                       POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr, nullptr),
          "the text could not be synthesized");
    // The synthesizer opens with a little silence; the phrase should start at once.
    const auto firstSound = std::find_if(samples_.begin(), samples_.end(),
                                         [](short sample) { return std::abs(sample) > 64; });
    samples_.erase(samples_.begin(), firstSound);
    engine_->sink->Play(std::move(samples_));
    samples_ = {};
}

void EspeakEngine::Stop() {
    if (engine_->settled)
        engine_->sink->Stop();
}

std::vector<VoiceInfo> EspeakEngine::Voices() const {
    awaitVoices();
    return engine_->voices;
}

int EspeakEngine::VoiceCount() const {
    awaitVoices();
    return static_cast<int>(engine_->voices.size());
}

void EspeakEngine::Choose(int voice) {
    currentVoice_ = voice;
}

bool EspeakEngine::IsSpeaking() const {
    return engine_->settled && engine_->sink->IsPlaying();
}
