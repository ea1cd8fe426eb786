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

bool isSay(const Command& command) {
    return std::holds_alternative<Say>(command);
}

} // namespace

struct SpeechdEngine::State {
    State(std::unique_ptr<SpeechdConnection> connection, std::chrono::milliseconds retry)
        : connection(std::move(connection)), retry(retry) {}

    const std::unique_ptr<SpeechdConnection> connection;
    std::mutex mutex;
    std::condition_variable wake;
    std::vector<VoiceInfo> voices; // guarded; set once
    std::atomic<int> voiceCount = 0;
    std::deque<Command> commands; // guarded
    int chosen = -1;              // guarded
    bool said = false;            // guarded: something to cancel since the last Cancel
    bool ending = false;          // guarded
    bool lost = false;            // the thread's own: a phrase lost since the last connection
    bool toldLost = false;        // the thread's own
    const std::chrono::milliseconds retry;

    void run(const SpeechNotice& tell);
    bool connect(bool start, const SpeechNotice& tell);
    bool perform(const Command& command);
};

SpeechdEngine::SpeechdEngine(std::unique_ptr<SpeechdConnection> connection, SpeechNotice notice,
                             std::chrono::milliseconds retry)
    : state_(std::make_shared<State>(std::move(connection), retry)), thread_(std::move(notice)) {
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

void SpeechdEngine::State::run(const SpeechNotice& tell) {
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
            // A phrase due while the service is away is lost, not kept for later.
            lost = std::erase_if(commands, isSay) > 0 || lost;
            commands.clear();
            // At once first: a service restarted while none of its voices was chosen answers.
            lock.unlock();
            connected = connect(false, tell);
            lock.lock();
            if (connected)
                continue;
            if (lost && !voices.empty() && !toldLost) {
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
            // Until one of its voices is chosen there is nothing to ask the service meanwhile.
            const auto asked = [this] { return ending || !commands.empty(); };
            if (chosen < 0) {
                wake.wait(lock, asked);
            } else if (!wake.wait_for(lock, retry, asked)) {
                lock.unlock();
                connected = connection->Alive();
                lock.lock();
            }
            continue;
        }
        const Command command = std::move(commands.front());
        commands.pop_front();
        lock.unlock();
        connected = perform(command);
        lost = lost || (!connected && isSay(command));
        lock.lock();
    }
}

// Connects; the first time the voices are listed, every time the chosen voice is set again.
bool SpeechdEngine::State::connect(bool start, const SpeechNotice& tell) {
    if (!connection->Open(start))
        return false;
    std::unique_lock lock(mutex);
    if (voices.empty()) {
        lock.unlock();
        std::vector<SpeechdModule> modules;
        for (const QString& module : connection->Modules())
            if (ListsModule(module))
                modules.push_back({module, connection->Voices(module)});
        std::vector<VoiceInfo> listed = SpeechdVoiceList(connection->Language(), modules);
        lock.lock();
        voices = std::move(listed);
        voiceCount = static_cast<int>(voices.size());
    }
    const int index = chosen;
    lost = false;
    const bool wasLost = std::exchange(toldLost, false);
    lock.unlock();
    if (wasLost)
        tell(BackNotice(QStringLiteral("the desktop's speech service answers again")));
    return index < 0 || perform(Use{index});
}

bool SpeechdEngine::State::perform(const Command& command) {
    if (const auto* say = std::get_if<Say>(&command))
        return connection->Say(say->text);
    if (const auto* use = std::get_if<Use>(&command)) {
        if (use->index < 0)
            return true;
        const QString identifier = [this, use] {
            const std::lock_guard lock(mutex);
            return voices.at(static_cast<std::size_t>(use->index)).identifier;
        }();
        return connection->Use(identifier.section(u'/', 0, 0), identifier.section(u'/', 1));
    }
    return connection->Cancel();
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
        state_->said = true;
    }
    state_->wake.notify_all();
}

void SpeechdEngine::Stop() {
    {
        const std::lock_guard lock(state_->mutex);
        std::erase_if(state_->commands, isSay);
        if (!std::exchange(state_->said, false))
            return; // stopped as well when another engine speaks: the service is not asked
        state_->commands.push_back(Cancel{});
    }
    state_->wake.notify_all();
}

bool SpeechdEngine::IsSpeaking() const {
    return state_->connection->Speaking();
}
