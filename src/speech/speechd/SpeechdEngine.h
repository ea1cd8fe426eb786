#pragma once

#include "speech/EngineThread.h"
#include "speech/SpeechEngine.h"
#include "speech/speechd/SpeechService.h"

#include <chrono>
#include <memory>

// The desktop's speech service as an engine: its voices, and speech through it. Every call to the
// service runs on a thread of its own, so that nothing here waits for a daemon that is slow to
// start, autospawns or hangs: the calls below return at once.
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
// Destroying it waits a second at most for a service that hangs (EngineThread).
class SpeechdEngine final : public SpeechEngine {
public:
    explicit SpeechdEngine(std::unique_ptr<SpeechService> service, EngineThread::Notice notice = {},
                           std::chrono::milliseconds retry = std::chrono::seconds(1));
    ~SpeechdEngine() override;

    std::vector<VoiceInfo> Voices() const override;
    int VoiceCount() const override;
    void Choose(int voice) override;
    void Speak(const QString& text) override;
    void Stop() override;
    bool IsSpeaking() const override;

private:
    struct State;
    std::shared_ptr<State> state_;
    EngineThread thread_;
};
