#include "app/core/history_list.h"

#include <algorithm>

std::string historyKey(int index) {
    return "Dir" + std::to_string(index);
}

const char* historySection(ListType mode) {
    switch (mode) {
        case Folder:
            return "FolderHistory";
        case File:
            return "FileHistory";
        case SongListFile:
            return "SongListHistory";
    }
    return nullptr;
}

void HistoryList::loadHistory(const ProfileStore& store, std::string_view section) {
    for (int i = 0; i < kHistoryKeysInFile; ++i) {
        std::string entry = store.getString(section, historyKey(i), "");
        if (!entry.empty())
            entries_.push_back(std::move(entry));
    }
}

std::optional<std::size_t> HistoryList::find(std::string_view text) const {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i] == text)
            return i;
    }
    return std::nullopt;
}

bool HistoryList::pushHistory(std::string_view text) {
    std::optional<std::size_t> match = find(text);
    if (match == std::size_t{0})
        return false;
    if (match)
        entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(*match));
    entries_.insert(entries_.begin(), std::string(text));
    return true;
}

void HistoryList::saveHistory(ProfileStore& store, std::string_view section) const {
    const std::size_t count = std::min<std::size_t>(entries_.size(), kHistoryKeysInFile);
    for (std::size_t j = 0; j < count; ++j) {
        if (entries_[j].empty())
            continue;
        store.setString(section, historyKey(static_cast<int>(j)), entries_[j]);
    }
}

void saveHistories(ProfileStore& store, const HistoryList& folders, const HistoryList& files,
                   const HistoryList& songLists) {
    folders.saveHistory(store, historySection(Folder));
    files.saveHistory(store, historySection(File));
    songLists.saveHistory(store, historySection(SongListFile));
}
