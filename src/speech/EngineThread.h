#pragma once

#include "speech/SpeechNotice.h"

#include <QString>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

// The thread an engine does its slow work on (starting a library, talking to a service), so that
// the event thread never waits for a sound server or a service that is slow, missing or hung.
// The work shares what it uses with the engine, since it may outlive it: Finish waits a second at
// most, and a thread held longer is left to end by itself.
//
// What the user should know goes through the notice, from any thread, until Finish begins.
class EngineThread {
public:
    // Never called once Finish has begun.
    using Notice = SpeechNotice;

    explicit EngineThread(Notice notice);
    ~EngineThread();
    EngineThread(const EngineThread&) = delete;
    EngineThread& operator=(const EngineThread&) = delete;

    // Runs `work` on the thread; it is handed the way to tell the user, which stays valid there.
    void Start(std::function<void(const Notice& tell)> work);
    // Silences the notice and ends the thread, waiting a second at most. `last` runs once the
    // work has returned: here, or on the thread when it was left to end by itself.
    void Finish(std::function<void()> last = {});

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
    std::thread thread_;
};
