#include "player_window_fakes.h"

namespace pwtest {

class BookProbe : public SongProbe {
  public:
    explicit BookProbe(SongBook& book) : book_(book) {}
    int Open(const std::string& path, bool) override {
        book_.passGate(path);
        return book_.find(path, song_) ? 0 : -1;
    }
    int GetContentText(int kind, std::string& text) override {
        const std::string& value = kind == 1 ? song_.author : song_.title;
        if (kind > 2 || value.empty())
            return -2;
        text = value;
        return 0;
    }

  private:
    SongBook& book_;
    SongBook::Song song_;
};

void SongBook::add(const std::string& path, Song song) {
    std::lock_guard lock(lock_);
    songs_[path] = std::move(song);
}

bool SongBook::find(const std::string& path, Song& song) const {
    std::lock_guard lock(lock_);
    const auto it = songs_.find(path);
    if (it == songs_.end())
        return false;
    song = it->second;
    return true;
}

void SongBook::gate(const std::string& path) {
    std::lock_guard lock(lock_);
    gated_.insert(path);
}

void SongBook::releaseAll() {
    std::lock_guard lock(lock_);
    gated_.clear();
    changed_.notify_all();
}

void SongBook::waitAtGate(const std::string& path) {
    std::unique_lock lock(lock_);
    changed_.wait(lock, [&] { return arrived_.count(path) != 0; });
}

void SongBook::passGate(const std::string& path) {
    std::unique_lock lock(lock_);
    arrived_.insert(path);
    changed_.notify_all();
    changed_.wait(lock, [&] { return gated_.count(path) == 0; });
}

SongProbeFactory SongBook::probeFactory() {
    return [this] { return std::make_unique<BookProbe>(*this); };
}

int ScriptedPlayer::Open(const std::string& path, bool) {
    opened_ = book_.find(path, song_);
    running_ = false;
    position = 0;
    pendingEvent_ = 0;
    if (!opened_)
        return -1;
    opened.push_back(path);
    return 0;
}

int ScriptedPlayer::GetContentText(int kind, std::string& text) {
    const std::string& value = kind == 1 ? song_.author : song_.title;
    if (kind > 2 || value.empty())
        return -2;
    text = value;
    return 0;
}

int ScriptedPlayer::Run(const char*) {
    if (!opened_)
        return -100;
    running_ = true;
    return 0;
}

int ScriptedPlayer::Pause() {
    running_ = false;
    return 0;
}

int ScriptedPlayer::Stop() {
    running_ = false;
    return 0;
}

int ScriptedPlayer::Seek(double seconds, bool) {
    seeks.push_back(seconds);
    position = seconds;
    return 0;
}

int ScriptedPlayer::PollEvent() {
    const int event = pendingEvent_;
    pendingEvent_ = 0;
    return event;
}

void ScriptedPlayer::finish() {
    running_ = false;
    pendingEvent_ = 1;
    if (notify_)
        notify_();
}

}  // namespace pwtest
