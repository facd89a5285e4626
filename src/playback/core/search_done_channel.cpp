#include "playback/core/search_done_channel.h"

#include <utility>

SearchDoneChannel::SearchDoneChannel(Handler handler, Wake wake)
    : handler_(std::move(handler)), wake_(std::move(wake)), receiver_(std::this_thread::get_id()) {}

void SearchDoneChannel::send(int result) {
    if (std::this_thread::get_id() == receiver_) {
        // A search run directly on the receiving thread: nobody else could serve it.
        drain();
        handler_(result);
        return;
    }
    Pending pending{result};
    std::unique_lock lock(lock_);
    waiting_.push_back(&pending);
    lock.unlock();
    if (wake_)
        wake_();
    lock.lock();
    handled_.wait(lock, [&] { return pending.handled; });
}

int SearchDoneChannel::drain() {
    int count = 0;
    std::unique_lock lock(lock_);
    while (!waiting_.empty()) {
        Pending* pending = waiting_.front();
        waiting_.pop_front();
        const int result = pending->result;
        // The handler runs unlocked: it may pump again (and so drain again) or read the
        // song list, whose lock no waiting sender holds.
        lock.unlock();
        handler_(result);
        lock.lock();
        pending->handled = true;
        ++count;
        handled_.notify_all();
    }
    return count;
}
