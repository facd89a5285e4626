#include "sequencer_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <climits>

namespace seqtest {

// --- Timers -----------------------------------------------------------------------------

void FakeTimers::startTimer(TimerId id, int periodMs) {
    const int period = std::max(periodMs, 1);
    due_[id] = {period, nowMs_ + period};
}

bool FakeTimers::next(TimerId& id, std::int64_t& at) const {
    bool found = false;
    for (const auto& [timer, due] : due_) {
        if (!found || due.at < at) {
            id = timer;
            at = due.at;
            found = true;
        }
    }
    return found;
}

void FakeTimers::fired(TimerId id) {
    auto it = due_.find(id);
    if (it != due_.end())
        it->second.at += it->second.period;
}

// --- View -------------------------------------------------------------------------------

void FakeView::postPlayIndex(int index) {
    std::lock_guard guard(lock_);
    posted_.emplace_back(PlayerMessage::PlayIndex, index);
}

void FakeView::postGraphNotify() {
    std::lock_guard guard(lock_);
    posted_.emplace_back(PlayerMessage::GraphNotify, 0);
}

bool FakeView::takePosted(PlayerMessage& message, int& index) {
    std::lock_guard guard(lock_);
    if (posted_.empty())
        return false;
    message = posted_.front().first;
    index = posted_.front().second;
    posted_.pop_front();
    return true;
}

void FakeView::sendSearchDone(int result) {
    session->sendSearchDone(result);
    ++searchDoneHandled;
}

void FakeView::postJob(PlaySession::Job job) {
    std::lock_guard guard(lock_);
    jobs_.push_back(std::move(job));
    changed_.notify_all();
}

void FakeView::handleSends(int waitMs) {
    std::deque<PlaySession::Job> jobs;
    {
        std::unique_lock lock(lock_);
        if (waitMs > 0)
            changed_.wait_for(lock, std::chrono::milliseconds(waitMs),
                              [&] { return !jobs_.empty(); });
        jobs.swap(jobs_);
    }
    for (PlaySession::Job& job : jobs)
        job();
}

void FakeView::pumpEvents() {
    // As the window pumps: the sends first, then the queued calls.
    ++pumps;
    if (onPump)
        onPump();
    session->serveSearchDone();
    handleSends(1);
}

// --- Session ----------------------------------------------------------------------------

Session::Session(std::uint32_t seed)
    : player(catalogue, &nowMs),
      timers(nowMs),
      play(
          player, timers, view, settings, catalogue.probeFactory(),
          [this](PlaySession::Job job) { view.postJob(std::move(job)); }, RandGenerator(seed)),
      list(play.list()),
      searcher(play.searcher()),
      random(play.random()),
      sequencer(play.sequencer()) {
    view.session = &play;
}

Session::~Session() {
    // A gated probe would hold the search, and so the session's end, for ever.
    catalogue.releaseAll();
}

std::string Session::songs(const std::vector<std::string>& names, SongSpec song) {
    std::string selection;
    for (const std::string& name : names) {
        const std::string path = "/music/" + name;
        catalogue.add(path, song);
        if (!selection.empty())
            selection += '|';
        selection += path;
    }
    return selection;
}

int Session::start(const std::string& selection, ListType kind, bool waitForSearch) {
    const int result = sequencer.startSession(selection, kind);
    if (waitForSearch)
        waitForSearchEnd();
    return result;
}

void Session::waitForSearchEnd() {
    // Only the sends the search thread waits on: queued calls (the first song's advance)
    // wait for run(), so every decision sees the whole list.
    searcher.waitForEnd([this] { play.serveSearchDone(); });
}

void Session::waitForCount(int count) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (list.count() < count) {
        ASSERT_LT(std::chrono::steady_clock::now(), deadline)
            << "the search never added entry " << count;
        view.handleSends(1);
    }
}

void Session::waitForStarts(std::size_t count) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (player.starts.size() < count) {
        ASSERT_LT(std::chrono::steady_clock::now(), deadline)
            << "song " << count << " never started";
        view.handleSends(1);
        deliverPosted();
    }
}

void Session::deliverPosted() {
    PlayerMessage message;
    int index = 0;
    while (view.takePosted(message, index)) {
        if (message == PlayerMessage::PlayIndex)
            sequencer.onPlayIndex(index);
        if (message == PlayerMessage::GraphNotify)
            sequencer.onSongEnded();
    }
}

void Session::run(std::int64_t ms) {
    const std::int64_t target = nowMs + ms;
    for (;;) {
        view.handleSends(0);
        deliverPosted();
        TimerId timer{};
        std::int64_t timerAt = LLONG_MAX;
        timers.next(timer, timerAt);
        const std::int64_t toEnd = player.msToEnd();
        const std::int64_t endAt = toEnd >= 0 ? nowMs + toEnd : LLONG_MAX;
        const std::int64_t nextAt = std::min(timerAt, endAt);
        if (nextAt > target) {
            player.play(target - nowMs);
            nowMs = target;
            deliverPosted();
            return;
        }
        player.play(nextAt - nowMs);
        nowMs = nextAt;
        if (endAt == nextAt)
            continue;  // the end is posted; deliver it before the tick
        timers.fired(timer);
        switch (timer) {
            case TimerId::AdvanceTimer:
                sequencer.onAdvanceTimer();
                break;
            case TimerId::PositionTimer:
                lastSliderPosition = sequencer.onPositionTimer();
                break;
            case TimerId::ResumeTimer:
                sequencer.onResumeTimer();
                break;
        }
    }
}

void Session::runToEnd(std::int64_t limitMs) {
    const std::int64_t limit = nowMs + limitMs;
    while (!ended() && nowMs < limit)
        run(100);
}

std::vector<std::string> Session::played() const {
    std::vector<std::string> paths;
    for (const FakePlayer::Start& start : player.starts) {
        const std::string& path = start.path;
        paths.push_back(path.rfind("/music/", 0) == 0 ? path.substr(7) : path);
    }
    return paths;
}

}  // namespace seqtest
