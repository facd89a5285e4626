#include "songlist/core/song_list.h"

int SongList::count() const {
    std::lock_guard guard(lock_);
    return static_cast<int>(entries_.size());
}

void SongList::append(std::string path, std::string author, std::string title, double duration) {
    // Build the entry before taking the lock so the lock section stays short: the push only
    // moves the strings.
    SongEntry entry{std::move(path), std::move(author), std::move(title), duration};
    // A text that was built in a larger buffer would keep its spare room for the life of
    // the list.
    entry.path.shrink_to_fit();
    entry.author.shrink_to_fit();
    entry.title.shrink_to_fit();
    std::lock_guard guard(lock_);
    entries_.push_back(std::move(entry));
}

std::string SongList::pathAt(int i) const {
    std::lock_guard guard(lock_);
    return entries_[static_cast<std::size_t>(i)].path;
}

std::string SongList::authorAt(int i) const {
    std::lock_guard guard(lock_);
    return entries_[static_cast<std::size_t>(i)].author;
}

std::string SongList::titleAt(int i) const {
    std::lock_guard guard(lock_);
    return entries_[static_cast<std::size_t>(i)].title;
}

double SongList::durationAt(int i) const {
    std::lock_guard guard(lock_);
    return entries_[static_cast<std::size_t>(i)].duration;
}

void SongList::removeAt(int i) {
    SongEntry removed;  // its texts are freed after the lock is released
    std::lock_guard guard(lock_);
    removed = std::move(entries_[static_cast<std::size_t>(i)]);
    entries_.erase(entries_.begin() + i);
}

void SongList::clear() {
    std::deque<SongEntry> removed;  // freed after the lock is released
    {
        std::lock_guard guard(lock_);
        removed.swap(entries_);
    }
}
