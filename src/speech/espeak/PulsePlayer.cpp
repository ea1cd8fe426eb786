#include "speech/espeak/PulsePlayer.h"

#include <algorithm>
#include <chrono>
#include <pulse/pulseaudio.h>
#include <utility>

namespace {

constexpr int BufferMilliseconds = 30;
constexpr std::int64_t ConnectTimeoutUsec = 3'000'000;
// How long a phrase may wait for the server to take it: later, it would no longer be said at its
// moment, and the listener is told instead.
constexpr std::int64_t LateUsec = 2'000'000;
// How long after the server has played a phrase's end the stream is corked: until then the end may
// still be on its way out, and corking would take it back.
constexpr std::int64_t EndHeardUsec = 200'000;
// The pause before looking for the server again doubles from the first to the last: a server
// that stays away is not asked four times a second, and one that comes back is heard within 2 s.
constexpr std::int64_t FirstRetryUsec = 250'000;
constexpr std::int64_t LastRetryUsec = 1'500'000;

// The names the installed menu entry and icon carry.
constexpr const char* ApplicationId = "org.horavox.Horavox";

constexpr const char* Entered[] = {"now connecting", "now ready",    "now starting", "now playing",
                                   "now draining",   "now remaking", "now away"};

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

// What the desktop's sound settings show for the program and its stream.
pa_proplist* properties() {
    pa_proplist* list = pa_proplist_new();
    pa_proplist_sets(list, PA_PROP_APPLICATION_NAME, "Horavox");
    pa_proplist_sets(list, PA_PROP_APPLICATION_ID, ApplicationId);
    pa_proplist_sets(list, PA_PROP_APPLICATION_ICON_NAME, ApplicationId);
    // Spoken announcements, as a screen reader's are: a volume of their own, and unlike a call
    // ("phone") they neither duck nor cork the user's music.
    pa_proplist_sets(list, PA_PROP_MEDIA_ROLE, "a11y");
    return list;
}

} // namespace

PulsePlayer::PulsePlayer(int sampleRate, Listener listener)
    : sampleRate_(sampleRate), listener_(std::move(listener)) {
    loop_ = pa_threaded_mainloop_new();
    pa_mainloop_api* api = pa_threaded_mainloop_get_api(loop_);
    const Lock lock(loop_);
    connectionTimer_ = api->time_new(api, nullptr, &PulsePlayer::onTimer, this);
    phraseTimer_ = api->time_new(api, nullptr, &PulsePlayer::onTimer, this);
    account_.Note(Entered[static_cast<int>(State::Connecting)]);
    connect();
    pa_threaded_mainloop_start(loop_);
}

PulsePlayer::~PulsePlayer() {
    {
        const Lock lock(loop_);
        pa_mainloop_api* api = pa_threaded_mainloop_get_api(loop_);
        api->time_free(connectionTimer_);
        api->time_free(phraseTimer_);
        disconnect();
        account_.Note("ended");
        account_.WriteOut();
    }
    pa_threaded_mainloop_stop(loop_);
    pa_threaded_mainloop_free(loop_);
}

// The one place where the state moves: what each callback and each request does, by state.
void PulsePlayer::handle(Event event, std::size_t bytes) {
    const State state = state_;
    switch (event) {
    case Event::Play: // a phrase handed over
        switch (state) {
        case State::Away:
            account_.Note("dropped %lld samples: the listener has been told", pending_.size());
            return release();
        case State::Connecting:
        case State::Remaking:
            return wait();
        default:
            return start();
        }
    case Event::Stop:
        release();
        if (state == State::Starting || state == State::Playing || state == State::Draining) {
            silence();
            moveTo(State::Ready);
        }
        return;
    case Event::PhraseTimeUp:
        switch (state) {
        case State::Draining: // its end heard: silence between phrases is a corked stream
            pa_operation_unref(pa_stream_cork(stream_, 1, nullptr, nullptr));
            release();
            return moveTo(State::Ready);
        case State::Connecting:
        case State::Remaking:
        case State::Starting: // the phrase that waited has not been taken in time
            account_.Note("dropped %lld samples: late",
                          static_cast<long long>(pending_.size() - next_));
            if (state == State::Starting)
                silence(); // what the held-up server has not played yet, it never will
            return tell(state == State::Starting
                            ? QStringLiteral("the sound server has stopped answering")
                        : state == State::Remaking
                            ? QStringLiteral("the sound stream could not be made again in time")
                            : QStringLiteral("no sound server answered in time"));
        default:
            return;
        }
    case Event::Writable:
        if (state == State::Starting || state == State::Playing)
            write(bytes);
        return;
    case Event::Taken:
        if (state == State::Away && stream_) // a held-up server answers again
            tell(QString());
        else if (state == State::Starting)
            taken();
        return;
    case Event::Underflow:
        // The phrase has played out. A running stream keeps the sound server and this process
        // busy fifty times a second, so it is corked once the end has been heard.
        account_.Note("underflow at %lld of %lld", next_, pending_.size());
        if (state == State::Draining)
            armTimer(phraseTimer_, EndHeardUsec);
        return;
    case Event::ContextReady:
        return openStream();
    case Event::StreamReady:
        pa_threaded_mainloop_get_api(loop_)->time_restart(connectionTimer_, nullptr);
        attempts_ = 0;
        state == State::Away ? tell(QString()) : moveTo(State::Ready);
        if (next_ < pending_.size()) // handed over while the stream was being made
            start();
        return;
    case Event::StreamEnded:
        if (pa_context_get_state(context_) != PA_CONTEXT_READY)
            return handle(Event::ContextLost);
        switch (state) {
        case State::Connecting:
            tell(streamError("the sound server refused a sound stream"));
            return lookAgainLater();
        case State::Remaking:
            tell(streamError("the sound stream ended and could not be made again"));
            return lookAgainLater();
        case State::Away:
            return lookAgainLater();
        default: // ended by a server that is still there (killed, or its sink gone)
            return remakeStream();
        }
    case Event::ContextLost:
        tell(state == State::Connecting ? unreachable()
                                        : QStringLiteral("the sound server has gone away"));
        return lookAgainLater();
    case Event::TimedOut:
        if (state == State::Connecting)
            tell(QStringLiteral("no sound server could be reached (it did not answer)"));
        else if (state == State::Remaking)
            tell(QStringLiteral("the sound server has stopped answering"));
        else if (state != State::Away)
            return;
        return connect();
    }
}

void PulsePlayer::moveTo(State state) {
    account_.Note(Entered[static_cast<int>(state)]);
    state_ = state;
    if (state == State::Ready || state == State::Away)
        account_.WriteOut(); // at rest: what led here is on record
}

// The listener hears of a change once: sound lost (a problem), or back (none). Nothing that was
// to be heard is kept for later.
void PulsePlayer::tell(const QString& problem) {
    release();
    const bool lost = !problem.isEmpty();
    if ((state_ == State::Away) == lost) // told already
        return;
    account_.Note(lost ? "told: sound lost" : "told: sound back");
    moveTo(lost ? State::Away : State::Ready);
    if (listener_)
        listener_(problem);
}

void PulsePlayer::connect() {
    disconnect();
    ++attempts_;
    pa_proplist* list = properties();
    context_ = pa_context_new_with_proplist(pa_threaded_mainloop_get_api(loop_), "Horavox", list);
    pa_proplist_free(list);
    pa_context_set_state_callback(context_, &PulsePlayer::onContextState, this);
    // Before connecting: a refusal comes at once and looks again sooner.
    armTimer(connectionTimer_, ConnectTimeoutUsec);
    if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
        handle(Event::ContextLost);
}

void PulsePlayer::lookAgainLater() {
    dropStream();
    armTimer(connectionTimer_,
             std::min(FirstRetryUsec << std::clamp(attempts_ - 1, 0, 8), LastRetryUsec));
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
    pa_proplist* list = properties();
    stream_ = pa_stream_new_with_proplist(context_, "Speech", &format, nullptr, list);
    pa_proplist_free(list);
    if (!stream_)
        return handle(Event::StreamEnded);
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
        handle(Event::StreamEnded);
}

// The stream is made again, and what was playing goes on in it from about where it was cut off.
void PulsePlayer::remakeStream() {
    next_ -= std::min(next_, bufferSamples()); // what the server held and never played
    dueUsec_ = nowUsec();
    dropStream();
    moveTo(State::Remaking);
    if (next_ < pending_.size())
        wait();
    armTimer(connectionTimer_, ConnectTimeoutUsec);
    openStream();
}

QString PulsePlayer::unreachable() const {
    return QStringLiteral("no sound server could be reached (%1)")
        .arg(QString::fromUtf8(pa_strerror(pa_context_errno(context_))));
}

QString PulsePlayer::streamError(const char* what) const {
    return QStringLiteral("%1 (%2)").arg(
        QString::fromUtf8(what), QString::fromUtf8(pa_strerror(pa_context_errno(context_))));
}

void PulsePlayer::armTimer(pa_time_event* timer, std::int64_t usec) {
    timeval when{};
    pa_gettimeofday(&when);
    pa_timeval_add(&when, static_cast<pa_usec_t>(usec));
    pa_threaded_mainloop_get_api(loop_)->time_restart(timer, &when);
}

// The phrase waits, for the stream or for the server to take it, and counts as playing meanwhile,
// until two seconds after it was due.
void PulsePlayer::wait() {
    armTimer(phraseTimer_, std::max<std::int64_t>(0, dueUsec_ + LateUsec - nowUsec()));
    playingUntilUsec_ = dueUsec_ + LateUsec;
}

void PulsePlayer::taken() {
    pa_threaded_mainloop_get_api(loop_)->time_restart(phraseTimer_, nullptr);
    playingUntilUsec_ =
        nowUsec() +
        static_cast<std::int64_t>(pending_.size() - startedFrom_) * 1'000'000 / sampleRate_ +
        BufferMilliseconds * 1000;
    moveTo(next_ < pending_.size() ? State::Playing : State::Draining);
}

// The phrase is handed to the server, and waits, counted as playing, until the server takes it.
void PulsePlayer::start() {
    pa_operation_unref(pa_stream_flush(stream_, nullptr, nullptr));
    pa_operation_unref(pa_stream_cork(stream_, 0, &PulsePlayer::onTaken, this));
    startedFrom_ = next_;
    moveTo(State::Starting);
    wait();
    write(pa_stream_writable_size(stream_));
}

void PulsePlayer::write(std::size_t bytes) {
    const std::size_t samples = std::min(bytes / sizeof(short), pending_.size() - next_);
    account_.Note("writable %lld bytes, wrote %lld samples from %lld", bytes, samples, next_);
    if (samples == 0)
        return;
    pa_stream_write(stream_, pending_.data() + next_, samples * sizeof(short), nullptr, 0,
                    PA_SEEK_RELATIVE);
    next_ += samples;
    if (next_ < pending_.size())
        return;
    // The end plays even when shorter than the pre-buffering.
    pa_operation_unref(pa_stream_trigger(stream_, nullptr, nullptr));
    if (state_ == State::Playing)
        moveTo(State::Draining);
}

// What the stream holds is thrown away, and it is corked.
void PulsePlayer::silence() {
    pa_operation_unref(pa_stream_flush(stream_, nullptr, nullptr));
    pa_operation_unref(pa_stream_cork(stream_, 1, nullptr, nullptr));
}

void PulsePlayer::release() {
    std::vector<short>().swap(pending_);
    next_ = 0;
    playingUntilUsec_ = 0;
    pa_threaded_mainloop_get_api(loop_)->time_restart(phraseTimer_, nullptr);
}

void PulsePlayer::onTimer(pa_mainloop_api*, pa_time_event* timer, const timeval*, void* self) {
    auto* player = static_cast<PulsePlayer*>(self);
    player->handle(timer == player->phraseTimer_ ? Event::PhraseTimeUp : Event::TimedOut);
}

void PulsePlayer::onContextState(pa_context* context, void* self) {
    const pa_context_state_t state = pa_context_get_state(context);
    static_cast<PulsePlayer*>(self)->reported("context state %lld", state,
                                              state == PA_CONTEXT_READY, PA_CONTEXT_IS_GOOD(state),
                                              Event::ContextReady, Event::ContextLost);
}

void PulsePlayer::onStreamState(pa_stream* stream, void* self) {
    const pa_stream_state_t state = pa_stream_get_state(stream);
    static_cast<PulsePlayer*>(self)->reported("stream state %lld", state, state == PA_STREAM_READY,
                                              PA_STREAM_IS_GOOD(state), Event::StreamReady,
                                              Event::StreamEnded);
}

// The server's word on the connection or the stream: on record, and an event when it is ready
// or has ended.
void PulsePlayer::reported(const char* what, int state, bool ready, bool good, Event whenReady,
                           Event whenEnded) {
    account_.Note(what, state);
    if (ready)
        handle(whenReady);
    else if (!good)
        handle(whenEnded);
}

void PulsePlayer::onWritable(pa_stream*, std::size_t bytes, void* self) {
    static_cast<PulsePlayer*>(self)->handle(Event::Writable, bytes);
}

void PulsePlayer::onUnderflow(pa_stream*, void* self) {
    static_cast<PulsePlayer*>(self)->handle(Event::Underflow);
}

void PulsePlayer::onTaken(pa_stream*, int, void* self) {
    auto* player = static_cast<PulsePlayer*>(self);
    player->account_.Note("taken");
    player->handle(Event::Taken);
}

void PulsePlayer::Play(std::vector<short> samples) {
    const Lock lock(loop_);
    account_.Note("play %lld samples", static_cast<long long>(samples.size()));
    if (samples.empty())
        return handle(Event::Stop);
    pending_ = std::move(samples);
    next_ = 0;
    dueUsec_ = nowUsec();
    handle(Event::Play);
}

void PulsePlayer::Stop() {
    Play({});
}

bool PulsePlayer::IsPlaying() const {
    return nowUsec() < playingUntilUsec_;
}

void PulsePlayer::WriteAccount() {
    const Lock lock(loop_);
    account_.WriteOut();
}

std::size_t PulsePlayer::bufferSamples() const {
    return static_cast<std::size_t>(sampleRate_ * BufferMilliseconds / 1000);
}
