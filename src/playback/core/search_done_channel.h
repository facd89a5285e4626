#pragma once
// The synchronous hand-off of SearchDone from the search thread to the user-interface
// thread. The sender queues its result, wakes the receiving thread and blocks until the
// result has been handled there. The receiving thread serves the queue from two places:
// from the queued call the wake-up posts, and from its pump while it waits for the search
// thread to end, so a sender never waits on a receiver that is itself waiting.
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

class SearchDoneChannel {
  public:
    using Handler = std::function<void(int result)>;
    // Asks the receiving thread to call drain() soon; called from the sending thread.
    using Wake = std::function<void()>;

    // Results are handled on the thread that constructs the channel.
    SearchDoneChannel(Handler handler, Wake wake);
    SearchDoneChannel(const SearchDoneChannel&) = delete;
    SearchDoneChannel& operator=(const SearchDoneChannel&) = delete;

    // Any thread: returns once `result` has been handled. On the receiving thread itself
    // the result is handled at once.
    void send(int result);
    // Receiving thread: handles every waiting result, in order; the number handled.
    int drain();

  private:
    Handler handler_;
    Wake wake_;
    std::thread::id receiver_;
    std::mutex lock_;
    std::condition_variable handled_;
    // A result waiting to be handled; it lives in the frame of its blocked sender.
    struct Pending {
        int result;
        bool handled = false;
    };
    std::deque<Pending*> waiting_;
};
