#include "playback/core/owner_loop.h"

#include <utility>

OwnerLoop::OwnerLoop(Wake wake) : wake_(std::move(wake)), owner_(std::this_thread::get_id()) {}

void OwnerLoop::post(Job job) {
    std::unique_lock lock(lock_);
    queue_.push_back(Entry{std::move(job), nullptr});
    const bool wake = !woken_;
    woken_ = true;
    lock.unlock();
    if (wake && wake_)
        wake_();
}

void OwnerLoop::send(Job job) {
    if (std::this_thread::get_id() == owner_) {
        // Nobody else could serve it: what came first, then the job.
        serve();
        job();
        std::lock_guard lock(lock_);
        ++sent_;
        return;
    }
    bool done = false;
    std::unique_lock lock(lock_);
    queue_.push_back(Entry{std::move(job), &done});
    const bool wake = !woken_;
    woken_ = true;
    lock.unlock();
    if (wake && wake_)
        wake_();
    lock.lock();
    done_.wait(lock, [&] { return done; });
}

int OwnerLoop::serve() {
    int count = 0;
    std::unique_lock lock(lock_);
    woken_ = false;
    while (!queue_.empty()) {
        Entry entry = std::move(queue_.front());
        queue_.pop_front();
        // The job runs unlocked: it may pump again (and so serve again), read the song
        // list, or post.
        lock.unlock();
        entry.job();
        lock.lock();
        if (entry.done != nullptr) {
            *entry.done = true;
            ++sent_;
            done_.notify_all();
        }
        ++count;
    }
    return count;
}

std::size_t OwnerLoop::sentCount() const {
    std::lock_guard lock(lock_);
    return sent_;
}
