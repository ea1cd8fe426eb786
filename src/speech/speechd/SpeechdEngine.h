#pragma once

#include "speech/EngineThread.h"
#include "speech/SpeechEngine.h"
#include "speech/speechd/SpeechdConnection.h"

#include <chrono>
#include <memory>

// The desktop's speech service as an engine: its voices, and speech through it. Every call to the
// service runs on a thread of its own, so that nothing here waits for a daemon that is slow to
// start, autospawns or hangs: the calls below return at once.
//
// The thread connects half a `retry` after the start, out of the way of the window's, letting
// the service start itself if it is installed, and lists its voices when it answers
// (SpeechdVoiceList); until then, and for good when there is no service, there are none. The
// list, once made, stays as it is. Without a connection the thread tries again at every `retry`,
// without starting the service.
//
// Once one of its voices has been chosen the service is asked at every `retry` whether it is
// still there. Phrases due while it is away are lost, not kept for later. The first phrase lost
// is told through the notice, and its coming back once more; a service that goes while nothing
// is said through it (another engine speaks) is not told, nor one that never answered. Stop()
// asks the service nothing when nothing was said through it since the last Stop().
//
// Destroying it waits a second at most for a service that hangs (EngineThread).
class SpeechdEngine final : public SpeechEngine {
public:
    explicit SpeechdEngine(std::unique_ptr<SpeechdConnection> connection, SpeechNotice notice = {},
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
