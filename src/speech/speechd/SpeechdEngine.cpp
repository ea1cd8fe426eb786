#include "speech/speechd/SpeechdEngine.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <variant>

namespace {

struct Cancel {};
struct Say {
    QString text;
};
struct Use {
    int index;
};
using Command = std::variant<Cancel, Say, Use>;

} // namespace

struct SpeechdEngine::State {
    State(std::unique_ptr<SpeechService> service, std::chrono::milliseconds retry)
        : service(std::move(service)), retry(retry) {}

    const std::unique_ptr<SpeechService> service;
    std::mutex mutex;
    std::condition_variable wake;
    std::vector<VoiceInfo> voices; // guarded; set once
    std::atomic<int> voiceCount = 0;
    std::deque<Command> commands; // guarded
    int chosen = -1;              // guarded
    bool ending = false;          // guarded
    bool toldLost = false;        // the thread's own
    const std::chrono::milliseconds retry;

    void run(const EngineThread::Notice& tell);
    bool connect(bool start, const EngineThread::Notice& tell);
    bool perform(const Command& command);
};

SpeechdEngine::SpeechdEngine(std::unique_ptr<SpeechService> service, EngineThread::Notice notice,
                             std::chrono::milliseconds retry)
    : state_(std::make_shared<State>(std::move(service), retry)), thread_(std::move(notice)) {
    thread_.Start([state = state_](const auto& tell) { state->run(tell); });
}

SpeechdEngine::~SpeechdEngine() {
    {
        const std::lock_guard lock(state_->mutex);
        state_->ending = true;
    }
    state_->wake.notify_all();
    thread_.Finish();
}

void SpeechdEngine::State::run(const EngineThread::Notice& tell) {
    std::unique_lock lock(mutex);
    // Out of the way of the window's start: a service that starts itself is a process to start.
    if (wake.wait_for(lock, retry / 2, [this] { return ending; }))
        return;
    lock.unlock();
    bool connected = connect(true, tell);
    lock.lock();
    if (!connected) // not there at all: looked for again after a pause
        wake.wait_for(lock, retry, [this] { return ending; });
    while (!ending) {
        if (!connected) {
            commands.clear(); // a phrase due while the service is away is lost
            // At once first: a service restarted while no desktop voice was chosen answers.
            lock.unlock();
            connected = connect(false, tell);
            lock.lock();
            if (connected)
                continue;
            if (chosen >= 0 && !voices.empty() && !toldLost) {
                toldLost = true;
                lock.unlock();
                tell(UnavailableNotice(
                    QStringLiteral("the desktop's speech service has gone away")));
                lock.lock();
            }
            wake.wait_for(lock, retry, [this] { return ending; });
            continue;
        }
        if (commands.empty()) {
            // Without a desktop voice chosen there is nothing to ask the service meanwhile.
            const auto asked = [this] { return ending || !commands.empty(); };
            if (chosen < 0) {
                wake.wait(lock, asked);
            } else if (!wake.wait_for(lock, retry, asked)) {
                lock.unlock();
                connected = service->Alive();
                lock.lock();
            }
            continue;
        }
        const Command command = std::move(commands.front());
        commands.pop_front();
        lock.unlock();
        connected = perform(command);
        lock.lock();
    }
}

// Connects; the first time the voices are listed, every time the chosen voice is set again.
bool SpeechdEngine::State::connect(bool start, const EngineThread::Notice& tell) {
    if (!service->Open(start))
        return false;
    std::unique_lock lock(mutex);
    if (voices.empty()) {
        lock.unlock();
        std::vector<ServiceModule> modules;
        for (const QString& module : service->Modules())
            if (ListsModule(module))
                modules.push_back({module, service->Voices(module)});
        std::vector<VoiceInfo> listed = DesktopVoiceList(service->Language(), modules);
        lock.lock();
        voices = std::move(listed);
        voiceCount = static_cast<int>(voices.size());
    }
    const int index = chosen;
    const bool wasLost = std::exchange(toldLost, false);
    lock.unlock();
    if (wasLost)
        tell(BackNotice(QStringLiteral("the desktop's speech service answers again")));
    return index < 0 || perform(Use{index});
}

bool SpeechdEngine::State::perform(const Command& command) {
    if (const auto* say = std::get_if<Say>(&command))
        return service->Say(say->text);
    if (const auto* use = std::get_if<Use>(&command)) {
        if (use->index < 0)
            return true;
        const QString identifier = [this, use] {
            const std::lock_guard lock(mutex);
            return voices.at(static_cast<std::size_t>(use->index)).identifier;
        }();
        return service->Use(identifier.section(u'/', 0, 0), identifier.section(u'/', 1));
    }
    return service->Cancel();
}

std::vector<VoiceInfo> SpeechdEngine::Voices() const {
    const std::lock_guard lock(state_->mutex);
    return state_->voices;
}

int SpeechdEngine::VoiceCount() const {
    return state_->voiceCount;
}

void SpeechdEngine::Choose(int voice) {
    const int index = voice - 1;
    {
        const std::lock_guard lock(state_->mutex);
        if (index == state_->chosen)
            return;
        state_->chosen = index;
        state_->commands.push_back(Use{index});
    }
    state_->wake.notify_all();
}

void SpeechdEngine::Speak(const QString& text) {
    {
        const std::lock_guard lock(state_->mutex);
        state_->commands.push_back(Say{text});
    }
    state_->wake.notify_all();
}

void SpeechdEngine::Stop() {
    {
        const std::lock_guard lock(state_->mutex);
        std::erase_if(state_->commands,
                      [](const Command& c) { return std::holds_alternative<Say>(c); });
        state_->commands.push_back(Cancel{});
    }
    state_->wake.notify_all();
}

bool SpeechdEngine::IsSpeaking() const {
    return state_->service->Speaking();
}
