#include "songlist/core/folder_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "songlist/core/name_order.h"

namespace {

bool isDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

struct EntryKind {
    bool folder = false;
    bool regular = false;
};

// What entry `name` of the open folder `dirFd` is, following links.
EntryKind kindOf(int dirFd, const dirent& entry) {
#ifdef _DIRENT_HAVE_D_TYPE
    if (entry.d_type == DT_DIR)
        return {true, false};
    if (entry.d_type == DT_REG)
        return {false, true};
    if (entry.d_type != DT_UNKNOWN && entry.d_type != DT_LNK)
        return {};
#endif
    struct stat info {};
    // A dangling link or an entry that vanished meanwhile is neither.
    if (fstatat(dirFd, entry.d_name, &info, 0) != 0)
        return {};
    return {S_ISDIR(info.st_mode), S_ISREG(info.st_mode)};
}

}  // namespace

bool FolderListing::read(const std::string& path) {
    entries_.clear();
    names_.clear();
    int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    if (fstat(fd, &info) != 0) {
        ::close(fd);
        return false;
    }
    identity_ = {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
    DIR* dir = fdopendir(fd);
    if (dir == nullptr) {
        ::close(fd);
        return false;
    }
    // A read error ends the listing like its end: what was read so far is used.
    while (const dirent* entry = readdir(dir)) {
        if (isDotOrDotDot(entry->d_name))
            continue;
        const std::size_t length = std::strlen(entry->d_name);
        const EntryKind kind = kindOf(fd, *entry);
        entries_.push_back(Entry{static_cast<std::uint32_t>(names_.size()),
                                 static_cast<std::uint32_t>(length), kind.folder, kind.regular});
        names_.append(entry->d_name, length);
    }
    closedir(dir);  // also closes fd
    // The small entries move; their names stay where they are in the buffer.
    std::sort(entries_.begin(), entries_.end(),
              [this](const Entry& a, const Entry& b) { return nameLess(name(a), name(b)); });
    return true;
}
