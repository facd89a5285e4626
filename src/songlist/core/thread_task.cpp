#include "songlist/core/thread_task.h"

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

bool ThreadTask::waitForEnd(const std::function<void()>& pump, std::chrono::milliseconds limit) {
    if (!thread_.joinable())
        return true;
    if (thread_.get_id() == std::this_thread::get_id())
        return false;
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    const auto timeLeft = [&] {
        return limit == kNoLimit ? kPumpInterval : limit - (Clock::now() - start);
    };
    const auto ended = [this] { return ended_.load(); };
    std::unique_lock lock(endLock_);
    while (!ended_.load()) {
        if (timeLeft() <= Clock::duration::zero())
            return false;
        if (pump) {
            lock.unlock();
            pump();
            lock.lock();
            endSignal_.wait_for(lock, std::min<Clock::duration>(kPumpInterval, timeLeft()), ended);
        } else if (limit == kNoLimit) {
            endSignal_.wait(lock, ended);
        } else {
            endSignal_.wait_for(lock, timeLeft(), ended);
        }
    }
    lock.unlock();
    thread_.join();
    return true;
}
