#include "songlist/thread_task.h"

#include <chrono>
#include <system_error>

namespace {
// How long one wait lasts between two pump calls.
constexpr std::chrono::milliseconds kPumpInterval{2};
}  // namespace

ThreadTask::~ThreadTask() {
    // A derived task waits in its own destructor; this is the last safety net against
    // destroying a joinable std::thread.
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id())
        thread_.join();
    if (thread_.joinable())
        thread_.detach();
}

bool ThreadTask::start() {
    if (thread_.joinable())
        return false;
    threadStarting(true);
    ended_.store(false);
    try {
        thread_ = std::thread([this] {
            run();
            markEnded();
        });
    } catch (const std::system_error&) {
        ended_.store(true);
        threadStarting(false);
        return false;
    }
    return true;
}

void ThreadTask::markEnded() {
    {
        std::lock_guard guard(endLock_);
        ended_.store(true);
    }
    endSignal_.notify_all();
}

void ThreadTask::waitForEnd(const std::function<void()>& pump) {
    if (!thread_.joinable() || thread_.get_id() == std::this_thread::get_id())
        return;
    std::unique_lock lock(endLock_);
    if (pump) {
        while (!ended_.load()) {
            lock.unlock();
            pump();
            lock.lock();
            endSignal_.wait_for(lock, kPumpInterval, [this] { return ended_.load(); });
        }
    } else {
        endSignal_.wait(lock, [this] { return ended_.load(); });
    }
    lock.unlock();
    thread_.join();
}
