#include "songlist/song_list_file.h"

#include <sys/stat.h>

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
void handleLine(const std::string& line, const std::function<void(const std::string&)>& addFile) {
    if (line.empty() || line[0] == '#')
        return;
    const std::string path = line.substr(0, line.find_first_of(std::string_view("\t\0", 2)));
    if (!path.empty())
        addFile(path);
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
                     const std::function<void(const std::string& songPath)>& addFile) {
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return -1;
    struct stat info {};
    if (fstat(fileno(file.get()), &info) != 0 || S_ISDIR(info.st_mode))
        return -1;

    std::string line;
    for (;;) {
        const LineEnd end = readLine(file.get(), line);
        if (end == LineEnd::ReadError)
            return -2;
        handleLine(line, addFile);
        if (end == LineEnd::EndOfFile)
            return 0;
        if (end == LineEnd::TooLong)
            return -2;
    }
}
