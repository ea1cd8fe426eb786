#pragma once

#include "speech/espeak/SoundAccount.h"
#include "speech/espeak/SoundSink.h"

#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

struct pa_context;
struct pa_mainloop_api;
struct pa_stream;
struct pa_threaded_mainloop;
struct pa_time_event;
struct timeval;

// Plays 16-bit mono sound through the PulseAudio server, or PipeWire's layer for it, with a
// short buffer, so that a new sound starts at once and Stop silences the old one at once.
//
// The connection lives on the sound library's own thread. It is made there, given up after a
// few seconds when the server does not answer, and made again whenever the server has gone away,
// after a pause that grows the longer it stays away; so a missing, hung or restarting server never
// makes the caller wait. A stream that the server ends while it stays up is made again at once,
// without a word to the listener, and what was playing goes on in it.
//
// A phrase handed over while the stream is being made waits for it, and counts as playing
// meanwhile; one that the server has not taken within two seconds of being handed over is
// dropped, and the listener told, as when the server is away. While the listener has been told,
// phrases are dropped, not kept for later.
//
// The stream carries the program's name, icon and a media role for accessibility, so that the
// desktop's sound settings list it as Horavox with a volume of its own.
//
// What it was handed, what it wrote and what the server told it goes into its account, which is
// written out whenever it comes to rest and when it ends (SoundAccount).
class PulsePlayer final : public SoundSink {
public:
    // Called on the player's thread when sound stops being heard (with the reason, in words for
    // the user) and when it is heard again (with an empty reason). Not called for the first
    // connection when it succeeds.
    using Listener = std::function<void(const QString& problem)>;

    // Where the player is. Every callback of the sound library and every request moves it through
    // one function, so what a phrase handed over does in each state reads off one switch there.
    enum class State {
        Connecting, // looking for the server, nothing told yet: a phrase waits for the stream
        Ready,      // the stream is there, corked: nothing plays
        Starting,   // a phrase written, not yet taken by the server
        Playing,    // the server plays it, and asks for more as it goes
        Draining,   // all of it written: the end plays out, and is heard, then the stream corked
        Remaking,   // the server ended the stream and stays up: it is made again, a phrase waits
        Away,       // the listener has been told that nothing is heard: phrases are dropped
    };

    PulsePlayer(int sampleRate, Listener listener);
    ~PulsePlayer() override;
    PulsePlayer(const PulsePlayer&) = delete;
    PulsePlayer& operator=(const PulsePlayer&) = delete;

    State CurrentState() const { return state_; }
    // Replaces whatever is playing or waiting. No samples leave the stream corked, as Stop does.
    void Play(std::vector<short> samples) override;
    void Stop() override;
    // True from the moment a phrase is handed over until it has been heard or dropped.
    bool IsPlaying() const override;
    // Appends the account to its file now, as the player does whenever it comes to rest.
    void WriteAccount();

private:
    enum class Event {
        ContextReady,
        ContextLost,
        StreamReady,
        StreamEnded,
        Taken, // the server has answered the request to play
        Writable,
        Underflow,
        TimedOut, // the connection's time is up, or the pause before looking again is over
        // The phrase handed over has waited too long to be taken, or its end has been heard.
        PhraseTimeUp,
        Play,
        Stop,
    };

    void handle(Event event, std::size_t bytes = 0);
    void reported(const char* what, int state, bool ready, bool good, Event whenReady,
                  Event whenEnded);
    void moveTo(State state);
    void connect();
    void disconnect();
    void openStream();
    void dropStream();
    void remakeStream();
    void start();
    void taken();
    void wait();
    void write(std::size_t bytes);
    void silence();
    void release();
    void tell(const QString& problem);
    void lookAgainLater();
    QString unreachable() const;
    QString streamError(const char* what) const;
    void armTimer(pa_time_event* timer, std::int64_t usec);
    std::size_t bufferSamples() const;

    static void onContextState(pa_context* context, void* self);
    static void onStreamState(pa_stream* stream, void* self);
    static void onWritable(pa_stream* stream, std::size_t bytes, void* self);
    static void onUnderflow(pa_stream* stream, void* self);
    static void onTaken(pa_stream* stream, int success, void* self);
    static void onTimer(pa_mainloop_api* api, pa_time_event* event, const timeval* time,
                        void* self);

    int sampleRate_;
    Listener listener_;
    pa_threaded_mainloop* loop_ = nullptr;
    // Guarded by the main loop's lock.
    pa_context* context_ = nullptr;
    pa_stream* stream_ = nullptr;
    pa_time_event* connectionTimer_ = nullptr;
    pa_time_event* phraseTimer_ = nullptr;
    int attempts_ = 0; // connections made since sound was last heard, for the pause between them
    std::vector<short> pending_;
    std::size_t next_ = 0;
    std::size_t startedFrom_ = 0; // where the server began to play it
    std::int64_t dueUsec_ = 0;    // when it was handed over, or cut off by a stream that ended
    SoundAccount account_;
    // Read without the lock: the window asks ten times a second, and taking the lock would
    // wake the sound server's thread each time.
    std::atomic<State> state_ = State::Connecting;
    std::atomic<std::int64_t> playingUntilUsec_ = 0;
};
