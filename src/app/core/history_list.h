#pragma once
// One history of the main bar: the selection texts of one mode, most recent first. The
// main bar's combo box shows the entries; pushHistory says when it must select entry 0.
// In the ini file a history is at most five keys "Dir0" to "Dir4" of its section.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/core/list_type.h"
#include "app/core/profile_store.h"

inline constexpr int kHistoryKeysInFile = 5;

// "Dir%d" with `index`.
std::string historyKey(int index);

// "FolderHistory", "FileHistory", "SongListHistory"; nullptr for a mode outside the three.
const char* historySection(ListType mode);

class HistoryList {
  public:
    // Appends the non-empty values of Dir0 to Dir4 of `section`, in key order; empty and
    // missing keys are skipped. Duplicates in the file are kept.
    void loadHistory(const ProfileStore& store, std::string_view section);

    // Puts `text` (also an empty one) first. When entry 0 already equals it, nothing changes and
    // false is returned, so the caller leaves its edit field alone. Otherwise the first equal
    // entry, if any, is removed, `text` is inserted at index 0 and true is returned: the caller
    // selects entry 0.
    bool pushHistory(std::string_view text);

    // Writes entries 0 to 4 to Dir0 to Dir4; an empty entry leaves its key as it is, and
    // keys past the last entry are not touched.
    void saveHistory(ProfileStore& store, std::string_view section) const;

    // The index of the first entry equal to `text`. Entries are paths, compared byte for
    // byte: on this file system "/music" and "/MUSIC" are two folders.
    std::optional<std::size_t> find(std::string_view text) const;

    const std::vector<std::string>& entries() const { return entries_; }
    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }

  private:
    std::vector<std::string> entries_;
};

// Saves the three histories in the order FolderHistory, FileHistory, SongListHistory.
void saveHistories(ProfileStore& store, const HistoryList& folders, const HistoryList& files,
                   const HistoryList& songLists);
