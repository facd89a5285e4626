#include "sequencer_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <climits>

namespace seqtest {

void OwnerWake::wake() {
    std::lock_guard guard(lock_);
    woken_ = true;
    changed_.notify_all();
}

bool OwnerWake::waitFor(int waitMs) {
    std::unique_lock lock(lock_);
    changed_.wait_for(lock, std::chrono::milliseconds(waitMs), [&] { return woken_; });
    const bool woken = woken_;
    woken_ = false;
    return woken;
}

// --- Session ----------------------------------------------------------------------------

Session::Session(std::uint32_t seed)
    : player(catalogue, &nowMs),
      timers(nowMs),
      play(player, timers, view, settings, catalogue.probeFactory(),
           {[this] { owner.wake(); },
            [this] {
                ++pumps;
                if (onPump)
                    onPump();
            }},
           RandGenerator(seed)),
      list(play.list()),
      searcher(play.searcher()),
      random(play.random()),
      sequencer(play.sequencer()) {}

void Session::serve(int waitMs) {
    if (waitMs > 0)
        owner.waitFor(waitMs);
    play.serve();
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
    // Served in order: the first song's call (in order play starts there), then SearchDone.
    searcher.waitForEnd([this] { play.serve(); });
}

void Session::waitForCount(int count) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (list.count() < count) {
        ASSERT_LT(std::chrono::steady_clock::now(), deadline)
            << "the search never added entry " << count;
        serve(1);
    }
}

void Session::waitForStarts(std::size_t count) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (player.starts.size() < count) {
        ASSERT_LT(std::chrono::steady_clock::now(), deadline)
            << "song " << count << " never started";
        serve(1);
        deliverPosted();
    }
}

void Session::deliverPosted() {
    int index = 0;
    while (view.takePosted(index))
        sequencer.onPlayIndex(index);
}

void Session::run(std::int64_t ms) {
    const std::int64_t target = nowMs + ms;
    for (;;) {
        play.serve();
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
