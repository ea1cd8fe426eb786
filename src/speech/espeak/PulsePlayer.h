#pragma once

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
// without a word to the listener, and what was playing goes on in it. Play and Stop only hand over
// samples: while the server is away they do nothing, and sound handed over while the stream is
// being made starts once it is ready.
class PulsePlayer final : public SoundSink {
public:
    // Called on the player's thread when sound stops being heard (with the reason, in words for
    // the user) and when it is heard again (with an empty reason). Not called for the first
    // connection when it succeeds.
    using Listener = std::function<void(const QString& problem)>;

    PulsePlayer(int sampleRate, Listener listener);
    ~PulsePlayer() override;
    PulsePlayer(const PulsePlayer&) = delete;
    PulsePlayer& operator=(const PulsePlayer&) = delete;

    bool Connected() const { return connected_; }
    // Replaces whatever is playing. No samples leave the stream corked, as Stop does.
    void Play(std::vector<short> samples) override;
    void Stop() override;
    bool IsPlaying() const override;

private:
    enum class Told { Nothing, Heard, Silent };

    static void onContextState(pa_context* context, void* self);
    static void onStreamState(pa_stream* stream, void* self);
    static void onWritable(pa_stream* stream, std::size_t bytes, void* self);
    static void onUnderflow(pa_stream* stream, void* self);
    static void onTimer(pa_mainloop_api* api, pa_time_event* event, const timeval* time,
                        void* self);
    void connect();
    void disconnect();
    void openStream();
    void dropStream();
    void streamEnded();
    void heard();
    void start();
    std::size_t bufferSamples() const;
    void lost(const QString& problem);
    QString serverProblem() const;
    void armTimer(std::int64_t usec);
    void release();
    void writePending(std::size_t bytes);

    int sampleRate_;
    Listener listener_;
    pa_threaded_mainloop* loop_ = nullptr;
    // Guarded by the main loop's lock.
    pa_context* context_ = nullptr;
    pa_stream* stream_ = nullptr;
    pa_time_event* timer_ = nullptr;
    Told told_ = Told::Nothing;
    int attempts_ = 0; // connections made since sound was last heard
    std::vector<short> pending_;
    std::size_t next_ = 0;
    // Read without the lock: the window asks ten times a second, and taking the lock would
    // wake the sound server's thread each time.
    std::atomic<bool> connected_ = false;
    std::atomic<std::int64_t> playingUntilUsec_ = 0;
};
