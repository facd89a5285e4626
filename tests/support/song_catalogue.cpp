#include "support/song_catalogue.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <memory>

namespace testsupport {

SongSpec lasting(double seconds, std::string author, std::string title, std::string description) {
    return {seconds, std::move(author), std::move(title), std::move(description)};
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

class CatalogueProbe : public SongProbe {
  public:
    explicit CatalogueProbe(SongCatalogue& catalogue) : catalogue_(catalogue) {
        catalogue_.log("create");
    }
    ~CatalogueProbe() override { catalogue_.log("destroy"); }

    int Open(const std::string& path, bool) override {
        catalogue_.log("open:" + path);
        if (catalogue_.onOpen)
            catalogue_.onOpen(path);
        catalogue_.passGate(path);
        song_ = catalogue_.find(path);
        return song_ && song_->probes ? 0 : -1;
    }
    int GetContentText(int kind, std::string& text) override {
        const std::string* source = !song_      ? nullptr
                                    : kind == 1 ? &song_->author
                                    : kind == 2 ? &song_->title
                                                : nullptr;
        if (source == nullptr || source->empty())
            return -2;
        text = *source;
        return 0;
    }

  private:
    SongCatalogue& catalogue_;
    std::optional<SongSpec> song_;
};

namespace {

std::optional<SongSpec> byFileName(const std::string& path) {
    const std::string name = path.substr(path.find_last_of('/') + 1);
    if (name.find("bad") != std::string::npos || access(path.c_str(), F_OK) != 0)
        return std::nullopt;
    SongSpec song;
    if (name.find("long") != std::string::npos) {
        // 299 ASCII bytes and one 3-byte character straddling the 255-byte limit.
        const std::string tail = "\xE3\x81\x82" + std::string(43, 'z');
        song.author = std::string(254, 'a') + tail;
        song.title = std::string(254, 't') + tail;
    } else if (name.find("noinfo") == std::string::npos) {
        song.author = "A:" + name;
        song.title = "T:" + name;
    }
    return song;
}

}  // namespace

void SongCatalogue::add(const std::string& path, SongSpec song) {
    std::lock_guard guard(lock_);
    songs_[path] = std::move(song);
}

std::optional<SongSpec> SongCatalogue::find(const std::string& path) const {
    {
        std::lock_guard guard(lock_);
        const auto it = songs_.find(path);
        if (it != songs_.end())
            return it->second;
    }
    if (unlisted_ == Unlisted::ByFileName)
        return byFileName(path);
    return std::nullopt;
}

void SongCatalogue::gate(const std::string& path) {
    std::lock_guard guard(lock_);
    gated_.insert(path);
}

void SongCatalogue::release(const std::string& path) {
    std::lock_guard guard(lock_);
    gated_.erase(path);
    changed_.notify_all();
}

void SongCatalogue::releaseAll() {
    std::lock_guard guard(lock_);
    gated_.clear();
    changed_.notify_all();
}

void SongCatalogue::passGate(const std::string& path) {
    std::unique_lock lock(lock_);
    changed_.wait(lock, [&] { return gated_.count(path) == 0; });
}

void SongCatalogue::log(const std::string& line) {
    std::lock_guard guard(lock_);
    probeLog_.push_back(line);
    changed_.notify_all();
}

bool SongCatalogue::waitForLog(const std::string& line) {
    std::unique_lock lock(lock_);
    return changed_.wait_for(lock, std::chrono::seconds(10), [&] {
        return std::find(probeLog_.begin(), probeLog_.end(), line) != probeLog_.end();
    });
}

std::vector<std::string> SongCatalogue::probeLog() const {
    std::lock_guard guard(lock_);
    return probeLog_;
}

void SongCatalogue::clearProbeLog() {
    std::lock_guard guard(lock_);
    probeLog_.clear();
}

std::vector<std::string> SongCatalogue::openedPaths() const {
    std::vector<std::string> paths;
    for (const std::string& line : probeLog())
        if (line.rfind("open:", 0) == 0)
            paths.push_back(line.substr(5));
    return paths;
}

int SongCatalogue::countInLog(const std::string& line) const {
    std::lock_guard guard(lock_);
    return static_cast<int>(std::count(probeLog_.begin(), probeLog_.end(), line));
}

SongProbeFactory SongCatalogue::probeFactory() {
    return [this] { return std::make_unique<CatalogueProbe>(*this); };
}

}  // namespace testsupport
