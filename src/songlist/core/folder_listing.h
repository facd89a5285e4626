#pragma once
// One read of a folder's entries, in name order (name_order.h: an album plays track by
// track whatever order the file system keeps), with what the search needs of each: its name
// (raw bytes) and whether it is a folder, a regular file or something else (a FIFO, socket
// or device, which must never be opened: a FIFO blocks its reader). Costs one directory
// read and a sort; an entry's type comes from the directory itself and is only looked up
// separately for links and for file systems that don't report it.
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class FolderListing {
  public:
    struct Entry {
        std::uint32_t offset;  // into the name buffer
        std::uint32_t length;
        bool isFolder;   // a folder, or a link to one
        bool isRegular;  // a regular file, or a link to one
    };

    // Reads `path`. False, with no entries, when it can't be opened as a folder.
    bool read(const std::string& path);

    // Identity of the folder read (device and inode), to visit each folder once.
    std::pair<std::uint64_t, std::uint64_t> identity() const { return identity_; }
    // Entries without "." and "..", in name order.
    const std::vector<Entry>& entries() const { return entries_; }
    std::string_view name(const Entry& entry) const {
        return std::string_view(names_).substr(entry.offset, entry.length);
    }

  private:
    std::pair<std::uint64_t, std::uint64_t> identity_{0, 0};
    std::vector<Entry> entries_;
    std::string names_;
};

// The folders one search has entered, so a link leading back into the tree can't make it
// loop.
class VisitedFolders {
  public:
    // False when the folder was entered before.
    bool enter(const FolderListing& folder) { return seen_.insert(folder.identity()).second; }

  private:
    std::set<std::pair<std::uint64_t, std::uint64_t>> seen_;
};
