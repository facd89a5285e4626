#pragma once
// Base of a task that runs on a thread of its own, with a wait for its end that keeps the
// waiting (user-interface) thread responsive to what the task sends it synchronously.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

class ThreadTask {
  public:
    ThreadTask() = default;
    virtual ~ThreadTask();  // joins a thread still running, without pumping
    ThreadTask(const ThreadTask&) = delete;
    ThreadTask& operator=(const ThreadTask&) = delete;

    // Asks a running body to finish; does not wait.
    virtual void requestStop() = 0;
    // The thread body.
    virtual int run() = 0;

    // Starts run() on a new thread. False when a previous thread has not been waited for
    // yet, or when the thread can't be created.
    bool start();
    // True from a successful start() until the thread has been waited for.
    bool hasThread() const { return thread_.joinable(); }
    // True once run() has returned on the thread (or when no thread was started).
    bool threadEnded() const { return ended_.load(); }
    // Waits until the thread has ended and releases it. `pump` is called repeatedly while
    // waiting, so a caller on the user-interface thread keeps handling what the thread
    // sends it synchronously. Without a pump the caller must be sure the thread needs
    // nothing from it. Returns at once without a thread, or when called on the task's own
    // thread (which can't wait for itself). With a `limit`, gives up after that long and
    // returns false, leaving the thread running and joinable (a body stuck in a system
    // call can't be stopped); true once the thread has been released.
    bool waitForEnd(const std::function<void()>& pump = {},
                    std::chrono::milliseconds limit = kNoLimit);

    static constexpr std::chrono::milliseconds kNoLimit = std::chrono::milliseconds::max();

  protected:
    // Called by start() on the starting thread just before the thread is created, and
    // again with false when creating it failed. Lets a task publish "busy" state at once.
    virtual void threadStarting(bool starting) { (void)starting; }

  private:
    void markEnded();

    std::thread thread_;
    std::atomic<bool> ended_{true};
    std::mutex endLock_;
    std::condition_variable endSignal_;
};
