#pragma once

#include "SpeechService.h"
#include "VoiceCriteria.h"

#include <chrono>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

// The desktop's speech service as a second engine beside the embedded one: its voices, and speech
// through it. Every call to the service runs on a thread of its own, so that nothing here waits
// for a daemon that is slow to start, autospawns or hangs: the calls below return at once.
//
// The thread connects half a `retry` after the start, out of the way of the window's, letting
// the service start itself if it is installed, and lists its voices when it answers
// (DesktopVoiceList); until then, and for good when there is no service, there are none. The
// list, once made, stays as it is. Without a connection the thread tries again at every `retry`,
// without starting the service.
//
// While one of its voices is chosen the service is asked at every `retry` whether it is still
// there. A service lost while its voice is chosen is told through the notice once, and once again
// when it is back; phrases due meanwhile are lost, not kept for later. Nothing is ever told about
// a service that never answered.
//
// Destroying it waits a second at most for a service that hangs: the thread is then left to end
// by itself, and the notice is no longer called.
class DesktopSpeech {
public:
    // Called from the service's thread with a message for the user.
    using Notice = std::function<void(const QString& message)>;

    explicit DesktopSpeech(std::unique_ptr<SpeechService> service, Notice notice = {},
                           std::chrono::milliseconds retry = std::chrono::seconds(1));
    ~DesktopSpeech();
    DesktopSpeech(const DesktopSpeech&) = delete;
    DesktopSpeech& operator=(const DesktopSpeech&) = delete;

    // The voices so far, in list order.
    std::vector<VoiceInfo> Voices() const;
    int VoiceCount() const;
    // The voice that speaks from now on, by its index in Voices(), or -1 when the embedded engine
    // speaks instead.
    void Choose(int index);
    void Speak(const QString& text);
    // Ends what was asked to be said, unsaid or playing.
    void Stop();
    bool IsSpeaking() const;

private:
    struct State;
    std::shared_ptr<State> state_;
    std::thread thread_;
};
