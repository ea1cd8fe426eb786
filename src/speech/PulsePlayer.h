#pragma once

#include <QString>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

struct pa_context;
struct pa_stream;
struct pa_threaded_mainloop;

// Plays 16-bit mono sound through the PulseAudio server with a short buffer, so that a new
// sound starts at once and Stop silences the old one at once. The server's own thread feeds the
// stream; Play and Stop only hand over samples and return.
class PulsePlayer {
public:
    explicit PulsePlayer(int sampleRate);
    ~PulsePlayer();
    PulsePlayer(const PulsePlayer&) = delete;
    PulsePlayer& operator=(const PulsePlayer&) = delete;

    // Empty while the server can be reached; otherwise why not, in words for the user.
    QString Problem() const;

    // Replaces whatever is playing. Throws std::runtime_error when the server has gone away.
    void Play(std::vector<short> samples);
    void Stop();
    bool IsPlaying() const;

private:
    static void onContextState(pa_context* context, void* self);
    static void onStreamState(pa_stream* stream, void* self);
    static void onWritable(pa_stream* stream, std::size_t bytes, void* self);
    static void onUnderflow(pa_stream* stream, void* self);
    void writePending(std::size_t bytes);
    bool waitUntilReady();

    int sampleRate_;
    pa_threaded_mainloop* loop_ = nullptr;
    pa_context* context_ = nullptr;
    pa_stream* stream_ = nullptr;
    QString problem_;
    // Guarded by the main loop's lock.
    std::vector<short> pending_;
    std::size_t next_ = 0;
    // Read without the lock: the window asks ten times a second, and taking the lock would
    // wake the sound server's thread each time.
    std::atomic<std::int64_t> playingUntilUsec_ = 0;
};
