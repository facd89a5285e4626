#include "sequencer_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>
#include <thread>

namespace seqtest {

SongSpec lasting(double seconds, std::string author, std::string title, std::string description) {
    SongSpec song;
    song.duration = seconds;
    song.author = std::move(author);
    song.title = std::move(title);
    song.description = std::move(description);
    return song;
}

SongSpec unopenable() {
    SongSpec song;
    song.opens = false;
    return song;
}

SongSpec unprobeable() {
    SongSpec song;
    song.probes = false;
    return song;
}

// --- Catalogue and its probes -----------------------------------------------------------

namespace {

class CatalogueProbe : public SongProbe {
  public:
    explicit CatalogueProbe(Catalogue& catalogue) : catalogue_(catalogue) {
        catalogue_.log("create");
    }
    ~CatalogueProbe() override { catalogue_.log("destroy"); }

    int Open(const std::string& path, bool) override {
        catalogue_.log("open:" + path);
        catalogue_.waitAtGate(path);
        spec_ = catalogue_.find(path);
        return spec_ != nullptr && spec_->probes ? 0 : -1;
    }
    int GetContentText(int kind, std::string& text) override {
        const std::string* source = nullptr;
        if (spec_ != nullptr && kind == 1)
            source = &spec_->author;
        if (spec_ != nullptr && kind == 2)
            source = &spec_->title;
        if (source == nullptr || source->empty())
            return -2;
        text = *source;
        return 0;
    }

  private:
    Catalogue& catalogue_;
    const SongSpec* spec_ = nullptr;
};

}  // namespace

void Catalogue::add(const std::string& path, SongSpec song) {
    songs_[path] = std::move(song);
}

const SongSpec* Catalogue::find(const std::string& path) const {
    const auto it = songs_.find(path);
    return it == songs_.end() ? nullptr : &it->second;
}

void Catalogue::gate(const std::string& path) {
    std::lock_guard guard(lock_);
    gated_.insert(path);
}

void Catalogue::release(const std::string& path) {
    {
        std::lock_guard guard(lock_);
        gated_.erase(path);
    }
    released_.notify_all();
}

void Catalogue::releaseAll() {
    {
        std::lock_guard guard(lock_);
        gated_.clear();
    }
    released_.notify_all();
}

void Catalogue::waitAtGate(const std::string& path) {
    std::unique_lock lock(lock_);
    released_.wait(lock, [&] { return gated_.count(path) == 0; });
}

std::vector<std::string> Catalogue::probeLog() {
    std::lock_guard guard(lock_);
    return probeLog_;
}

void Catalogue::log(const std::string& line) {
    {
        std::lock_guard guard(lock_);
        probeLog_.push_back(line);
    }
    released_.notify_all();
}

bool Catalogue::waitForLog(const std::string& line) {
    std::unique_lock lock(lock_);
    return released_.wait_for(lock, std::chrono::seconds(10), [&] {
        return std::find(probeLog_.begin(), probeLog_.end(), line) != probeLog_.end();
    });
}

SongProbeFactory Catalogue::probeFactory() {
    return [this] { return std::make_unique<CatalogueProbe>(*this); };
}

// --- Player -----------------------------------------------------------------------------

namespace {
std::int64_t toMs(double seconds) {
    return std::llround(seconds * 1000);
}
}  // namespace

int FakePlayer::Open(const std::string& p, bool) {
    log.push_back("open:" + p);
    notify_ = nullptr;
    path = p;
    position_ = 0;
    ended_ = false;
    pendingEvent_ = 0;
    stopTime = 0;
    spec_ = catalogue_.find(p);
    if (spec_ == nullptr || !spec_->opens) {
        spec_ = nullptr;
        state = None;
        return -1;
    }
    state = Stopped;
    return 0;
}

int FakePlayer::GetContentText(int kind, std::string& text) {
    // Like the real graph: a file with any tag answers every kind, with "" for the
    // missing ones; a file without tags answers none.
    const std::string* source = nullptr;
    if (spec_ != nullptr) {
        source = kind == 1 ? &spec_->author : kind == 2 ? &spec_->title : &spec_->description;
    }
    const bool tagged = spec_ != nullptr && !(spec_->author.empty() && spec_->title.empty() &&
                                              spec_->description.empty());
    if (source == nullptr || !tagged)
        return -2;
    text = *source;
    return 0;
}

int FakePlayer::SetStopTime(double seconds) {
    log.push_back("stoptime:" + std::to_string(static_cast<int>(seconds)));
    stopTime = seconds;
    return 0;
}

int FakePlayer::Run(const char*) {
    if (state == None)
        return -100;
    log.push_back("run");
    if (position_ == 0 && state != Running)
        starts.push_back({path, nowMs_});
    state = Running;
    return 0;
}

int FakePlayer::Pause() {
    if (state == None)
        return -100;
    log.push_back("pause");
    state = Paused;
    return 0;
}

int FakePlayer::Stop() {
    if (state == None)
        return -100;
    log.push_back("stop");
    state = Stopped;
    return 0;
}

int FakePlayer::Seek(double seconds, bool) {
    if (state == None)
        return -100;
    log.push_back("seek:" + std::to_string(static_cast<int>(seconds)));
    position_ = seconds;
    ended_ = false;
    return 0;
}

int FakePlayer::PollEvent() {
    if (state == None)
        return -1;
    const int event = pendingEvent_;
    pendingEvent_ = 0;
    return event;
}

std::int64_t FakePlayer::msToEnd() const {
    if (state != Running || ended_ || spec_ == nullptr)
        return -1;
    const double end = stopTime > 0 ? stopTime : spec_->duration;
    return std::max<std::int64_t>(0, toMs(end) - toMs(position_));
}

void FakePlayer::play(std::int64_t ms) {
    const std::int64_t left = msToEnd();
    if (left < 0)
        return;
    if (ms < left) {
        position_ += static_cast<double>(ms) / 1000;
        return;
    }
    position_ = stopTime > 0 ? stopTime : spec_->duration;
    ended_ = true;
    pendingEvent_ = 1;
    if (notify_)
        notify_();
}

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
    std::unique_lock lock(lock_);
    sends_.push_back(result);
    const int ticket = ++sendsTaken_;
    changed_.notify_all();
    changed_.wait(lock, [&] { return sendsDone_ >= ticket; });
}

void FakeView::handleSends(int waitMs) {
    std::unique_lock lock(lock_);
    if (waitMs > 0) {
        changed_.wait_for(lock, std::chrono::milliseconds(waitMs), [&] { return !sends_.empty(); });
    }
    while (!sends_.empty()) {
        const int result = sends_.front();
        sends_.pop_front();
        lock.unlock();
        if (sequencer != nullptr)
            sequencer->onSearchDone(result);
        ++searchDoneHandled;
        lock.lock();
        ++sendsDone_;
        changed_.notify_all();
    }
}

void FakeView::pumpEvents() {
    ++pumps;
    if (onPump)
        onPump();
    handleSends(1);
}

// --- Session ----------------------------------------------------------------------------

Session::Session(std::uint32_t seed)
    : searcher(list, catalogue.probeFactory()),
      player(catalogue, nowMs),
      timers(nowMs),
      random(seed),
      sequencer(player, searcher, list, timers, view, settings, random) {
    view.sequencer = &sequencer;
}

Session::~Session() {
    catalogue.releaseAll();
    sequencer.shutdown();
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
    searcher.waitForEnd([this] { view.pumpEvents(); });
}

void Session::waitForCount(int count) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (list.count() < count) {
        ASSERT_LT(std::chrono::steady_clock::now(), deadline)
            << "the search never added entry " << count;
        view.handleSends(1);
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
