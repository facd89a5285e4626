#include "support/fake_player.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "playback/core/play_modes.h"

namespace testsupport {

namespace {
std::int64_t toMs(double seconds) {
    return std::llround(seconds * 1000);
}
}  // namespace

int FakePlayer::Open(const std::string& p, bool) {
    log.push_back("open:" + p);
    notify_ = nullptr;
    path = p;
    position = 0;
    ended_ = false;
    pendingEvent_ = 0;
    stopTime = 0;
    joined_ = false;
    prepared.clear();
    song_ = catalogue_.find(p);
    if (!song_ || !song_->opens) {
        song_.reset();
        state = None;
        return -1;
    }
    opened.push_back(p);
    state = Stopped;
    return 0;
}

int FakePlayer::GetContentText(int kind, std::string& text) {
    // Like the real graph: a file with any tag answers every kind, with "" for the
    // missing ones; a file without tags answers none.
    if (!song_ || (song_->author.empty() && song_->title.empty() && song_->description.empty()))
        return -2;
    text = kind == 1 ? song_->author : kind == 2 ? song_->title : song_->description;
    return 0;
}

SongDetails FakePlayer::GetSongDetails() {
    if (!song_)
        return {};
    return {song_->album, song_->trackNumber, song_->coverPath};
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
    if (position == 0 && state != Running)
        starts.push_back({path, nowMs_ != nullptr ? *nowMs_ : 0});
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
    seeks.push_back(seconds);
    position = seconds;
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
    if (state != Running || ended_ || !song_)
        return -1;
    const double end = stopTime > 0 ? stopTime : song_->duration;
    return std::max<std::int64_t>(0, toMs(end) - toMs(position));
}

void FakePlayer::play(std::int64_t ms) {
    const std::int64_t left = msToEnd();
    if (left < 0)
        return;
    if (ms < left)
        position += static_cast<double>(ms) / 1000;
    else
        finish();
}

bool FakePlayer::prepareNext(const std::string& file, int demoSeconds) {
    if (!joins || state != Running || !prepared.empty())
        return false;
    log.push_back("prepare:" + file);
    prepared = file;
    preparedDemo_ = demoSeconds;
    joined_ = false;
    return true;
}

void FakePlayer::dropNext() {
    if (!prepared.empty())
        log.push_back("dropnext");
    prepared.clear();
}

void FakePlayer::finish() {
    if (!song_)
        return;
    std::optional<SongSpec> next = prepared.empty() ? std::nullopt : catalogue_.find(prepared);
    if (next && next->opens) {
        song_ = next;
        path = std::exchange(prepared, {});
        position = 0;
        stopTime = demoCutsSong(preparedDemo_, song_->duration) ? preparedDemo_ : 0;
        joined_ = true;
        starts.push_back({path, nowMs_ != nullptr ? *nowMs_ : 0});
        pendingEvent_ = 1;
        if (notify_)
            notify_();
        return;
    }
    prepared.clear();
    joined_ = false;
    position = stopTime > 0 ? stopTime : song_->duration;
    ended_ = true;
    pendingEvent_ = 1;
    if (notify_)
        notify_();
}

}  // namespace testsupport
