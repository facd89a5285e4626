#include "songlist/core/song_list.h"

int SongList::count() const {
    std::lock_guard guard(lock_);
    return static_cast<int>(entries_.size());
}

void SongList::append(std::string path, std::string author, std::string title, double duration) {
    // Build the entry before taking the lock so the lock section stays short.
    auto entry = std::make_unique<const SongEntry>(
        SongEntry{std::move(path), std::move(author), std::move(title), duration});
    std::lock_guard guard(lock_);
    entries_.push_back(std::move(entry));
}

std::string SongList::pathAt(int i) const {
    std::lock_guard guard(lock_);
    return entries_[static_cast<std::size_t>(i)]->path;
}

std::string SongList::authorAt(int i) const {
    std::lock_guard guard(lock_);
    return entries_[static_cast<std::size_t>(i)]->author;
}

std::string SongList::titleAt(int i) const {
    std::lock_guard guard(lock_);
    return entries_[static_cast<std::size_t>(i)]->title;
}

double SongList::durationAt(int i) const {
    std::lock_guard guard(lock_);
    return entries_[static_cast<std::size_t>(i)]->duration;
}

void SongList::removeAt(int i) {
    std::unique_ptr<const SongEntry> removed;  // destroyed after the lock is released
    std::lock_guard guard(lock_);
    removed = std::move(entries_[static_cast<std::size_t>(i)]);
    entries_.erase(entries_.begin() + i);
}

void SongList::clear() {
    std::vector<std::unique_ptr<const SongEntry>> removed;
    {
        std::lock_guard guard(lock_);
        removed.swap(entries_);
    }
}
