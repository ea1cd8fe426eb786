#include "PulsePlayer.h"

#include <chrono>
#include <pulse/pulseaudio.h>
#include <stdexcept>

namespace {

constexpr int BufferMilliseconds = 30;
constexpr std::chrono::seconds ConnectTimeout{3};

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

PulsePlayer::PulsePlayer(int sampleRate) : sampleRate_(sampleRate) {
    loop_ = pa_threaded_mainloop_new();
    context_ = pa_context_new(pa_threaded_mainloop_get_api(loop_), "Horavox");
    pa_context_set_state_callback(context_, &PulsePlayer::onContextState, this);
    const Lock lock(loop_);
    if (pa_threaded_mainloop_start(loop_) < 0 ||
        pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0 ||
        !waitUntilReady()) {
        problem_ = QStringLiteral("no sound server could be reached (%1)")
                       .arg(QString::fromUtf8(pa_strerror(pa_context_errno(context_))));
        return;
    }
    const pa_sample_spec format{PA_SAMPLE_S16LE, static_cast<std::uint32_t>(sampleRate_), 1};
    stream_ = pa_stream_new(context_, "speech", &format, nullptr);
    pa_stream_set_state_callback(stream_, &PulsePlayer::onStreamState, this);
    pa_stream_set_write_callback(stream_, &PulsePlayer::onWritable, this);
    pa_stream_set_underflow_callback(stream_, &PulsePlayer::onUnderflow, this);
    const auto bufferBytes = static_cast<std::uint32_t>(
        pa_usec_to_bytes(BufferMilliseconds * PA_USEC_PER_MSEC, &format));
    // A short target length keeps speech responsive; no pre-buffering starts it at once.
    const pa_buffer_attr attributes{static_cast<std::uint32_t>(-1), bufferBytes, 0,
                                    static_cast<std::uint32_t>(-1), static_cast<std::uint32_t>(-1)};
    if (pa_stream_connect_playback(
            stream_, nullptr, &attributes,
            static_cast<pa_stream_flags_t>(PA_STREAM_ADJUST_LATENCY | PA_STREAM_START_CORKED),
            nullptr, nullptr) < 0 ||
        !waitUntilReady())
        problem_ = QStringLiteral("the sound server refused a playback stream (%1)")
                       .arg(QString::fromUtf8(pa_strerror(pa_context_errno(context_))));
}

PulsePlayer::~PulsePlayer() {
    pa_threaded_mainloop_stop(loop_);
    if (stream_) {
        pa_stream_disconnect(stream_);
        pa_stream_unref(stream_);
    }
    pa_context_disconnect(context_);
    pa_context_unref(context_);
    pa_threaded_mainloop_free(loop_);
}

QString PulsePlayer::Problem() const {
    return problem_;
}

bool PulsePlayer::waitUntilReady() {
    const auto deadline = std::chrono::steady_clock::now() + ConnectTimeout;
    while (std::chrono::steady_clock::now() < deadline) {
        const pa_context_state_t context = pa_context_get_state(context_);
        if (!PA_CONTEXT_IS_GOOD(context))
            return false;
        const bool contextReady = context == PA_CONTEXT_READY;
        if (contextReady && !stream_)
            return true;
        if (stream_) {
            const pa_stream_state_t stream = pa_stream_get_state(stream_);
            if (stream == PA_STREAM_READY)
                return true;
            if (!PA_STREAM_IS_GOOD(stream))
                return false;
        }
        pa_threaded_mainloop_wait(loop_); // woken by the state callbacks
    }
    return false;
}

void PulsePlayer::onContextState(pa_context*, void* self) {
    pa_threaded_mainloop_signal(static_cast<PulsePlayer*>(self)->loop_, 0);
}

void PulsePlayer::onStreamState(pa_stream*, void* self) {
    pa_threaded_mainloop_signal(static_cast<PulsePlayer*>(self)->loop_, 0);
}

void PulsePlayer::onWritable(pa_stream*, std::size_t bytes, void* self) {
    static_cast<PulsePlayer*>(self)->writePending(bytes);
}

void PulsePlayer::onUnderflow(pa_stream* stream, void* self) {
    // The phrase has played out. Silence between phrases is a corked stream: a running one keeps
    // the sound server and this process busy fifty times a second.
    auto* player = static_cast<PulsePlayer*>(self);
    if (player->next_ >= player->pending_.size())
        pa_operation_unref(pa_stream_cork(stream, 1, nullptr, nullptr));
}

void PulsePlayer::writePending(std::size_t bytes) {
    const std::size_t samples = std::min(bytes / sizeof(short), pending_.size() - next_);
    if (samples == 0)
        return;
    pa_stream_write(stream_, pending_.data() + next_, samples * sizeof(short), nullptr, 0,
                    PA_SEEK_RELATIVE);
    next_ += samples;
}

void PulsePlayer::Play(std::vector<short> samples) {
    if (!stream_)
        return;
    const Lock lock(loop_);
    if (pa_stream_get_state(stream_) != PA_STREAM_READY)
        throw std::runtime_error("the sound server has gone away");
    pa_operation_unref(pa_stream_flush(stream_, nullptr, nullptr));
    pa_operation_unref(pa_stream_cork(stream_, 0, nullptr, nullptr));
    pending_ = std::move(samples);
    next_ = 0;
    playingUntilUsec_ = nowUsec() +
                        static_cast<std::int64_t>(pending_.size()) * 1'000'000 / sampleRate_ +
                        BufferMilliseconds * 1000;
    writePending(pa_stream_writable_size(stream_));
}

void PulsePlayer::Stop() {
    if (!stream_)
        return;
    const Lock lock(loop_);
    pending_.clear();
    next_ = 0;
    playingUntilUsec_ = 0;
    if (pa_stream_get_state(stream_) == PA_STREAM_READY) {
        pa_operation_unref(pa_stream_flush(stream_, nullptr, nullptr));
        pa_operation_unref(pa_stream_cork(stream_, 1, nullptr, nullptr));
    }
}

bool PulsePlayer::IsPlaying() const {
    return stream_ && nowUsec() < playingUntilUsec_;
}
