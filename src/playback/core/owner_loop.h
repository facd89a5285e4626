#pragma once
// The one hand-off from other threads to the thread that owns a play session (the
// user-interface thread): a job posted from any thread runs there soon, in order; a job
// sent runs there too and its sender waits until it has run. The owner serves the queue
// from the call its wake-up schedules and from its pump while it waits for another
// thread, so a sender never waits on an owner that is itself waiting. The graph's
// notifications, the search's SearchDone and its first-song call all come this way.
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

class OwnerLoop {
  public:
    using Job = std::function<void()>;
    // Any thread: asks the owner to call serve() soon. Called once for a run of jobs that
    // arrive before the owner serves them.
    using Wake = std::function<void()>;

    // The constructing thread is the owner.
    explicit OwnerLoop(Wake wake);
    // Posted jobs not yet served are dropped. No sender may be waiting.
    ~OwnerLoop() = default;
    OwnerLoop(const OwnerLoop&) = delete;
    OwnerLoop& operator=(const OwnerLoop&) = delete;

    // Any thread: `job` runs on the owner's thread after the jobs queued before it.
    void post(Job job);
    // Any thread: returns once `job` has run on the owner's thread. On the owner's thread
    // itself the queued jobs and then `job` run at once.
    void send(Job job);
    // Owner's thread: runs every queued job, in order, also those queued meanwhile; the
    // number run.
    int serve();
    // Sent jobs run so far (for diagnostics and tests).
    std::size_t sentCount() const;

  private:
    struct Entry {
        Job job;
        bool* done;  // the blocked sender's flag; null for a posted job
    };

    Wake wake_;
    std::thread::id owner_;
    mutable std::mutex lock_;
    std::condition_variable done_;
    std::deque<Entry> queue_;
    bool woken_ = false;
    std::size_t sent_ = 0;
};
