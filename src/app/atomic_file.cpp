#include "app/atomic_file.h"

#include <fcntl.h>
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

bool replaceFileAtomically(const fs::path& path, std::string_view bytes) {
    const fs::path target = realTarget(path);
    fs::path folder = target.parent_path();
    if (folder.empty())
        folder = ".";
    std::error_code error;
    fs::create_directories(folder, error);
    if (error)
        return false;

    std::string pattern = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    FileDescriptor fd(::mkostemp(name.data(), O_CLOEXEC));
    if (fd.get() < 0)
        return false;
    const fs::path temporary(name.data());

    struct stat existing {};
    mode_t mode =
        ::stat(target.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : newFileMode();
    bool ok = ::fchmod(fd.get(), mode) == 0 && writeAll(fd.get(), bytes) && ::fsync(fd.get()) == 0;
    ok = fd.close() && ok;
    ok = ok && ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    FileDescriptor folderFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folderFd.get() >= 0)
        ::fsync(folderFd.get());
    return true;
}
