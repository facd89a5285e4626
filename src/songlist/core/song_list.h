#pragma once
// The one in-memory list of songs a session draws from. Filled by the search thread,
// read and trimmed by the user-interface thread; one lock guards it, every operation
// holds it for its own duration only and hands out copies.
#include <memory>
#include <mutex>
#include <string>
#include <vector>

struct SongEntry {
    std::string path;
    std::string author;
    std::string title;
    double duration = -1.0;  // seconds, as the probe found it; negative when unknown
};

class SongList {
  public:
    SongList() = default;
    SongList(const SongList&) = delete;
    SongList& operator=(const SongList&) = delete;

    int count() const;
    void append(std::string path, std::string author, std::string title, double duration = -1.0);
    // The accessors and removeAt trust the caller to pass 0 <= i < count().
    std::string pathAt(int i) const;
    std::string authorAt(int i) const;
    std::string titleAt(int i) const;
    double durationAt(int i) const;
    void removeAt(int i);
    void clear();

  private:
    mutable std::mutex lock_;
    std::vector<std::unique_ptr<const SongEntry>> entries_;
};
