#include "songlist/song_list_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <memory>
#include <system_error>

#include "app/atomic_file.h"
#include "songlist/song_list.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

constexpr const char* kLineEnd = "\r\n";

std::string systemReason(int error) {
    return std::generic_category().message(error);
}

std::string localTimeText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[64];
    const std::size_t length = std::strftime(text, sizeof text, "%d/%m/%Y %H:%M:%S", &local);
    return std::string(text, length);
}

enum class LineEnd { Newline, EndOfFile, TooLong, ReadError };

// Reads one line into `line` without its LF or CR LF. A CR not followed by LF is text.
LineEnd readLine(std::FILE* file, std::string& line) {
    line.clear();
    for (;;) {
        int c = getc_unlocked(file);
        if (c == EOF)
            return std::ferror(file) ? LineEnd::ReadError : LineEnd::EndOfFile;
        if (c == '\n')
            return LineEnd::Newline;
        if (c == '\r') {
            const int next = getc_unlocked(file);
            if (next == '\n')
                return LineEnd::Newline;
            if (next != EOF)
                std::ungetc(next, file);
        }
        if (line.size() == kSongListLineMax)
            return LineEnd::TooLong;
        line.push_back(static_cast<char>(c));
    }
}

// The song path of a line: up to the first TAB (or a NUL, which no path can hold).
// False when `keepGoing` asked to stop before the line's song was handed on.
bool handleLine(const std::string& line, const std::function<void(const std::string&)>& addFile,
                const std::function<bool()>& keepGoing) {
    if (line.empty() || line[0] == '#')
        return true;
    const std::string path = line.substr(0, line.find_first_of(std::string_view("\t\0", 2)));
    if (path.empty())
        return true;
    if (keepGoing && !keepGoing())
        return false;
    addFile(path);
    return true;
}

// Opens `path` for reading when it is a regular file (after following links). The open
// does not wait, so a FIFO in the list's place is refused instead of hanging the reader.
FilePtr openRegularFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return nullptr;
    struct stat info {};
    const int flags = ::fcntl(fd, F_GETFL);
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || flags < 0 ||
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return nullptr;
    }
    FilePtr file(::fdopen(fd, "rb"));
    if (!file)
        ::close(fd);
    return file;
}

}  // namespace

int writeSongList(const std::string& path, const SongList& list, std::string* errorReason) {
    auto fail = [errorReason](int error) {
        if (errorReason != nullptr)
            *errorReason = systemReason(error);
        return -3;
    };
    std::string text = "#v1000";
    text += kLineEnd;
    text += "# Song List created by (tavik Vornel) at " + localTimeText() + kLineEnd;
    const int count = list.count();
    for (int i = 0; i < count; ++i) {
        const std::string title = list.titleAt(i);
        const std::string author = list.authorAt(i);
        const std::string songPath = list.pathAt(i);
        text += songPath;
        text += '\t';
        text += author;
        text += '\t';
        text += title;
        text += kLineEnd;
    }
    // Written beside the list and renamed over it only when complete, so a failed save
    // leaves the old list whole, and no empty or cut file under a new name.
    std::error_code error;
    if (!replaceFileAtomically(path, text, MissingFolder::Fail, &error))
        return fail(error.value());
    return 0;
}

int ReadSongListFile(const std::string& path,
                     const std::function<void(const std::string& songPath)>& addFile,
                     const std::function<bool()>& keepGoing) {
    FilePtr file = openRegularFile(path);
    if (!file)
        return -1;

    std::string line;
    for (;;) {
        const LineEnd end = readLine(file.get(), line);
        if (end == LineEnd::ReadError)
            return -2;
        if (!handleLine(line, addFile, keepGoing))
            return 0;
        if (end == LineEnd::EndOfFile)
            return 0;
        if (end == LineEnd::TooLong)
            return -2;
    }
}
