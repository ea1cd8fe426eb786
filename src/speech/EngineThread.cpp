#include "speech/EngineThread.h"

struct EngineThread::Shared {
    std::mutex mutex;
    std::condition_variable ended;
    Notice notice;              // guarded: emptied when the engine goes
    bool done = false;          // guarded: the work has returned
    std::function<void()> last; // guarded: set when the thread is left to end by itself

    void tell(const QString& message) {
        const std::lock_guard lock(mutex);
        if (notice)
            notice(message);
    }
};

EngineThread::EngineThread(Notice notice) : shared_(std::make_shared<Shared>()) {
    shared_->notice = std::move(notice);
}

EngineThread::~EngineThread() {
    Finish();
}

void EngineThread::Start(std::function<void(const Notice& tell)> work) {
    thread_ = std::thread([shared = shared_, work = std::move(work)] {
        work([shared](const QString& message) { shared->tell(message); });
        std::function<void()> last;
        {
            const std::lock_guard lock(shared->mutex);
            shared->done = true;
            last = std::move(shared->last);
        }
        shared->ended.notify_all();
        if (last)
            last();
    });
}

void EngineThread::Finish(std::function<void()> last) {
    if (!thread_.joinable())
        return;
    std::unique_lock lock(shared_->mutex);
    shared_->notice = nullptr; // whatever showed the notices may be going too
    if (!shared_->ended.wait_for(lock, std::chrono::seconds(1), [this] { return shared_->done; })) {
        // Held by a hung server. The program is ending and must not wait for it.
        shared_->last = std::move(last);
        thread_.detach();
        return;
    }
    lock.unlock();
    thread_.join();
    if (last)
        last();
}
