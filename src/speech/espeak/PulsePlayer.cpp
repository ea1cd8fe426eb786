#include "speech/espeak/PulsePlayer.h"

#include <QLoggingCategory>
#include <algorithm>
#include <chrono>
#include <pulse/pulseaudio.h>
#include <utility>

Q_LOGGING_CATEGORY(soundAccount, "horavox.sound", QtWarningMsg)

namespace {

constexpr int BufferMilliseconds = 30;
constexpr std::int64_t ConnectTimeoutUsec = 3'000'000;
// The pause before looking for the server again doubles from the first to the last: a server
// that stays away is not asked four times a second, and one that comes back is heard within 2 s.
constexpr std::int64_t FirstRetryUsec = 250'000;
constexpr std::int64_t LastRetryUsec = 1'500'000;

class Lock {
public:
    explicit Lock(pa_threaded_mainloop* loop) : loop_(loop) { pa_threaded_mainloop_lock(loop_); }
    ~Lock() { pa_threaded_mainloop_unlock(loop_); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

private:
    pa_threaded_mainloop* loop_;
};

std::int64_t nowUsec() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

PulsePlayer::PulsePlayer(int sampleRate, Listener listener)
    : sampleRate_(sampleRate), listener_(std::move(listener)) {
    loop_ = pa_threaded_mainloop_new();
    pa_mainloop_api* api = pa_threaded_mainloop_get_api(loop_);
    const Lock lock(loop_);
    timer_ = api->time_new(api, nullptr, &PulsePlayer::onTimer, this);
    connect();
    pa_threaded_mainloop_start(loop_);
}

PulsePlayer::~PulsePlayer() {
    {
        const Lock lock(loop_);
        pa_mainloop_api* api = pa_threaded_mainloop_get_api(loop_);
        api->time_free(timer_);
        disconnect();
    }
    pa_threaded_mainloop_stop(loop_);
    pa_threaded_mainloop_free(loop_);
}

void PulsePlayer::connect() {
    disconnect();
    ++attempts_;
    context_ = pa_context_new(pa_threaded_mainloop_get_api(loop_), "Horavox");
    pa_context_set_state_callback(context_, &PulsePlayer::onContextState, this);
    armTimer(ConnectTimeoutUsec); // before connecting: a refusal comes at once and retries sooner
    if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
        lost(serverProblem());
}

void PulsePlayer::dropStream() {
    if (!stream_)
        return;
    pa_stream_set_state_callback(stream_, nullptr, nullptr);
    pa_stream_set_write_callback(stream_, nullptr, nullptr);
    pa_stream_set_underflow_callback(stream_, nullptr, nullptr);
    pa_stream_disconnect(stream_);
    pa_stream_unref(stream_);
    stream_ = nullptr;
}

void PulsePlayer::disconnect() {
    dropStream();
    if (context_) {
        pa_context_set_state_callback(context_, nullptr, nullptr);
        pa_context_disconnect(context_);
        pa_context_unref(context_);
        context_ = nullptr;
    }
}

void PulsePlayer::openStream() {
    const pa_sample_spec format{PA_SAMPLE_S16LE, static_cast<std::uint32_t>(sampleRate_), 1};
    stream_ = pa_stream_new(context_, "speech", &format, nullptr);
    if (!stream_) {
        streamEnded();
        return;
    }
    pa_stream_set_state_callback(stream_, &PulsePlayer::onStreamState, this);
    pa_stream_set_write_callback(stream_, &PulsePlayer::onWritable, this);
    pa_stream_set_underflow_callback(stream_, &PulsePlayer::onUnderflow, this);
    const auto bufferBytes = static_cast<std::uint32_t>(
        pa_usec_to_bytes(BufferMilliseconds * PA_USEC_PER_MSEC, &format));
    // A short target length keeps speech responsive, and a little pre-buffering keeps every word:
    // without it, the server plays on through a moment when this process or the server itself is
    // held up, and drops as much of what comes after as the hold-up lasted.
    const pa_buffer_attr attributes{static_cast<std::uint32_t>(-1), bufferBytes, bufferBytes / 2,
                                    static_cast<std::uint32_t>(-1), static_cast<std::uint32_t>(-1)};
    if (pa_stream_connect_playback(
            stream_, nullptr, &attributes,
            static_cast<pa_stream_flags_t>(PA_STREAM_ADJUST_LATENCY | PA_STREAM_START_CORKED),
            nullptr, nullptr) < 0)
        streamEnded();
}

void PulsePlayer::streamEnded() {
    const bool serverUp = pa_context_get_state(context_) == PA_CONTEXT_READY;
    if (connected_ && serverUp) {
        // Ended by a server that is still there (killed, or its sink gone): the stream is made
        // again, and what was playing goes on in it from about where it was cut off.
        connected_ = false;
        playingUntilUsec_ = 0;
        next_ -= std::min(next_, bufferSamples()); // what the server held and never played
        dropStream();
        armTimer(ConnectTimeoutUsec);
        openStream();
    } else if (!serverUp) {
        lost(serverProblem());
    } else {
        const QString error = QString::fromUtf8(pa_strerror(pa_context_errno(context_)));
        lost(told_ == Told::Heard
                 ? QStringLiteral("the sound stream ended and could not be made again (%1)")
                       .arg(error)
                 : QStringLiteral("the sound server refused a sound stream (%1)").arg(error));
    }
}

QString PulsePlayer::serverProblem() const {
    if (told_ == Told::Heard)
        return QStringLiteral("the sound server has gone away");
    return QStringLiteral("no sound server could be reached (%1)")
        .arg(QString::fromUtf8(pa_strerror(pa_context_errno(context_))));
}

void PulsePlayer::heard() {
    qCDebug(soundAccount) << "stream ready";
    pa_threaded_mainloop_get_api(loop_)->time_restart(timer_, nullptr);
    connected_ = true;
    attempts_ = 0;
    const Told before = std::exchange(told_, Told::Heard);
    if (before == Told::Silent && listener_)
        listener_(QString());
    if (next_ < pending_.size()) // handed over while the stream was being made
        start();
}

// What was to be heard is dropped: the listener is told, and nothing plays until a stream is
// ready again.
void PulsePlayer::lost(const QString& problem) {
    qCDebug(soundAccount) << "lost:" << problem;
    connected_ = false;
    playingUntilUsec_ = 0;
    release();
    armTimer(std::min(FirstRetryUsec << std::clamp(attempts_ - 1, 0, 8), LastRetryUsec));
    const Told before = std::exchange(told_, Told::Silent);
    if (before != Told::Silent && listener_)
        listener_(problem);
}

void PulsePlayer::armTimer(std::int64_t usec) {
    timeval when{};
    pa_gettimeofday(&when);
    pa_timeval_add(&when, static_cast<pa_usec_t>(usec));
    pa_threaded_mainloop_get_api(loop_)->time_restart(timer_, &when);
}

void PulsePlayer::onTimer(pa_mainloop_api*, pa_time_event*, const timeval*, void* self) {
    // Either the server has not answered in time, or it is time to look for it again.
    auto* player = static_cast<PulsePlayer*>(self);
    if (!player->connected_) {
        if (player->told_ == Told::Heard) // a hung server
            player->lost(QStringLiteral("the sound server has stopped answering"));
        else if (player->told_ == Told::Nothing)
            player->lost(QStringLiteral("no sound server could be reached (it did not answer)"));
        player->connect();
    }
}

void PulsePlayer::onContextState(pa_context* context, void* self) {
    auto* player = static_cast<PulsePlayer*>(self);
    const pa_context_state_t state = pa_context_get_state(context);
    qCDebug(soundAccount) << "context state" << state;
    if (state == PA_CONTEXT_READY)
        player->openStream();
    else if (!PA_CONTEXT_IS_GOOD(state))
        player->lost(player->serverProblem());
}

void PulsePlayer::onStreamState(pa_stream* stream, void* self) {
    auto* player = static_cast<PulsePlayer*>(self);
    switch (const pa_stream_state_t state = pa_stream_get_state(stream); state) {
    case PA_STREAM_READY:
        return player->heard();
    case PA_STREAM_FAILED:
    case PA_STREAM_TERMINATED:
        qCDebug(soundAccount) << "stream ended" << state;
        return player->streamEnded();
    default:
        return;
    }
}

void PulsePlayer::onWritable(pa_stream*, std::size_t bytes, void* self) {
    static_cast<PulsePlayer*>(self)->writePending(bytes);
}

void PulsePlayer::onUnderflow(pa_stream* stream, void* self) {
    // The phrase has played out. Silence between phrases is a corked stream: a running one keeps
    // the sound server and this process busy fifty times a second.
    auto* player = static_cast<PulsePlayer*>(self);
    qCDebug(soundAccount) << "underflow at" << player->next_ << "of" << player->pending_.size();
    if (player->next_ >= player->pending_.size()) {
        pa_operation_unref(pa_stream_cork(stream, 1, nullptr, nullptr));
        player->release();
    }
}

void PulsePlayer::release() {
    std::vector<short>().swap(pending_);
    next_ = 0;
}

void PulsePlayer::writePending(std::size_t bytes) {
    const std::size_t samples = std::min(bytes / sizeof(short), pending_.size() - next_);
    qCDebug(soundAccount) << "writable" << bytes << "writes" << samples << "from" << next_;
    if (samples == 0)
        return;
    pa_stream_write(stream_, pending_.data() + next_, samples * sizeof(short), nullptr, 0,
                    PA_SEEK_RELATIVE);
    next_ += samples;
    if (next_ == pending_.size()) // the end plays even when shorter than the pre-buffering
        pa_operation_unref(pa_stream_trigger(stream_, nullptr, nullptr));
}

void PulsePlayer::Play(std::vector<short> samples) {
    const Lock lock(loop_);
    qCDebug(soundAccount) << "play" << samples.size() << "samples, connected" << connected_.load();
    // While the server is away the listener has been told, and a phrase due meanwhile is lost,
    // not kept for later. While only the stream is being made, it is kept and starts with it.
    if (samples.empty() || told_ == Told::Silent) {
        release();
        playingUntilUsec_ = 0;
        if (connected_) {
            pa_operation_unref(pa_stream_flush(stream_, nullptr, nullptr));
            pa_operation_unref(pa_stream_cork(stream_, 1, nullptr, nullptr));
        }
        return;
    }
    pending_ = std::move(samples);
    next_ = 0;
    playingUntilUsec_ = 0;
    if (connected_)
        start();
}

void PulsePlayer::start() {
    pa_operation_unref(pa_stream_flush(stream_, nullptr, nullptr));
    pa_operation_unref(pa_stream_cork(stream_, 0, nullptr, nullptr));
    playingUntilUsec_ =
        nowUsec() + static_cast<std::int64_t>(pending_.size() - next_) * 1'000'000 / sampleRate_ +
        BufferMilliseconds * 1000;
    writePending(pa_stream_writable_size(stream_));
}

std::size_t PulsePlayer::bufferSamples() const {
    return static_cast<std::size_t>(sampleRate_ * BufferMilliseconds / 1000);
}

void PulsePlayer::Stop() {
    Play({});
}

bool PulsePlayer::IsPlaying() const {
    return nowUsec() < playingUntilUsec_;
}
