#include "app/core/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Closes a descriptor when it goes out of scope.
class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    bool close() {
        int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// 0666 less the process's umask, read without changing it (umask() itself would briefly
// change it for every thread).
mode_t newFileMode() {
    mode_t mask = 022;
    std::string status;
    if (readWholeFile("/proc/self/status", status) == FileReadResult::Read) {
        std::size_t at = status.find("\nUmask:");
        if (at != std::string::npos) {
            mask = static_cast<mode_t>(std::strtoul(status.c_str() + at + 8, nullptr, 8));
        }
    }
    return 0666 & ~mask;
}

// The file a write must replace: the target of a symbolic link, so the link stays.
fs::path realTarget(const fs::path& path) {
    std::error_code error;
    if (fs::is_symlink(fs::symlink_status(path, error))) {
        fs::path resolved = fs::weakly_canonical(path, error);
        if (!error)
            return resolved;
    }
    return path;
}

// mkostemp replaces these many trailing X with letters and digits.
constexpr std::size_t kTemporaryRandomLength = 6;

bool isTemporaryName(std::string_view name, std::string_view prefix) {
    if (name.size() != prefix.size() + kTemporaryRandomLength || !name.starts_with(prefix))
        return false;
    for (char c : name.substr(prefix.size())) {
        const bool alphanumeric =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!alphanumeric)
            return false;
    }
    return true;
}

// Removes the temporary files "<prefix>XXXXXX" in `folder` that saves killed before their
// rename left behind. A save holds flock(LOCK_EX) on its temporary file from creation to
// rename and the kernel drops the lock when the process dies, so a file this call can lock
// belongs to no one. Only regular files are touched, and only when the name still refers
// to the file that was locked.
void removeOrphanedTemporaries(const fs::path& folder, std::string_view prefix) {
    const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0)
        return;
    DIR* listing = ::fdopendir(folderFd);
    if (listing == nullptr) {
        ::close(folderFd);
        return;
    }
    // Collected first: whether readdir still lists a file unlinked meanwhile is unspecified.
    std::vector<std::string> candidates;
    while (const dirent* entry = ::readdir(listing)) {
        if (isTemporaryName(entry->d_name, prefix))
            candidates.emplace_back(entry->d_name);
    }
    for (const std::string& name : candidates) {
        struct stat seen {};
        if (::fstatat(folderFd, name.c_str(), &seen, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(seen.st_mode))
            continue;
        FileDescriptor fd(
            ::openat(folderFd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        if (fd.get() < 0 || ::flock(fd.get(), LOCK_EX | LOCK_NB) != 0)
            continue;  // a save under way, or not ours to open
        struct stat locked {};
        if (::fstat(fd.get(), &locked) != 0 || !S_ISREG(locked.st_mode) ||
            ::fstatat(folderFd, name.c_str(), &seen, AT_SYMLINK_NOFOLLOW) != 0 ||
            seen.st_dev != locked.st_dev || seen.st_ino != locked.st_ino)
            continue;
        ::unlinkat(folderFd, name.c_str(), 0);
    }
    ::closedir(listing);  // closes folderFd too
}

// Creates the temporary file from `pattern` (its name is left in `name`) and locks it for
// the rest of the save. A cleaner of another save may lock and unlink the new file before
// this lock is taken; that file then can't be locked or has no link left, and a new one is
// made. The old name is never unlinked here: it is the cleaner's, and may be reused. On a
// file system without flock the file stays unlocked, and no cleaner can lock it either.
int createLockedTemporary(const std::string& pattern, std::vector<char>& name, int& error) {
    constexpr int kAttempts = 4;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        name.assign(pattern.begin(), pattern.end());
        name.push_back('\0');
        const int fd = ::mkostemp(name.data(), O_CLOEXEC);
        if (fd < 0) {
            error = errno;
            return -1;
        }
        const bool takenByCleaner = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
        struct stat info {};
        if (!takenByCleaner && ::fstat(fd, &info) == 0 && info.st_nlink > 0)
            return fd;
        ::close(fd);
    }
    error = EAGAIN;
    return -1;
}

}  // namespace

FileReadResult readWholeFile(const fs::path& path, std::string& bytes) {
    bytes.clear();
    // Non-blocking, so a FIFO in the file's place cannot hang the program; it is then
    // refused as not a regular file.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0)
        return errno == ENOENT ? FileReadResult::Missing : FileReadResult::Failed;
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return FileReadResult::Failed;
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        ssize_t got = ::read(fd.get(), buffer.data(), buffer.size());
        if (got < 0) {
            if (errno == EINTR)
                continue;
            bytes.clear();
            return FileReadResult::Failed;
        }
        if (got == 0)
            break;
        bytes.append(buffer.data(), static_cast<std::size_t>(got));
    }
    return FileReadResult::Read;
}

bool replaceFileAtomically(const fs::path& path, std::string_view bytes,
                           MissingFolder missingFolder, std::error_code* failure) {
    auto fail = [failure](int error) {
        if (failure != nullptr)
            *failure = std::error_code(error, std::generic_category());
        return false;
    };
    const fs::path target = realTarget(path);
    fs::path folder = target.parent_path();
    if (folder.empty())
        folder = ".";
    if (missingFolder == MissingFolder::Create) {
        std::error_code error;
        fs::create_directories(folder, error);
        if (error)
            return fail(error.value());
    }

    const std::string prefix = "." + target.filename().string() + ".";
    removeOrphanedTemporaries(folder, prefix);
    std::vector<char> name;
    int createError = 0;
    FileDescriptor fd(
        createLockedTemporary((folder / (prefix + "XXXXXX")).string(), name, createError));
    if (fd.get() < 0)
        return fail(createError);
    const fs::path temporary(name.data());
    // Removes the temporary file, still locked, so no cleaner can take it for an orphan.
    auto discard = [&](int error) {
        ::unlink(temporary.c_str());
        return fail(error);
    };

    struct stat existing {};
    mode_t mode =
        ::stat(target.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : newFileMode();
    if (::fchmod(fd.get(), mode) != 0 || !writeAll(fd.get(), bytes) || ::fsync(fd.get()) != 0)
        return discard(errno);
    // The descriptor, and with it the lock, stays open until the rename; any error of the
    // written data has been reported by fsync already.
    if (::rename(temporary.c_str(), target.c_str()) != 0)
        return discard(errno);
    fd.close();
    FileDescriptor folderFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folderFd.get() >= 0)
        ::fsync(folderFd.get());
    return true;
}
