#include "songlist/core/song_list_file.h"

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <system_error>

#include "app/core/atomic_file.h"
#include "app/core/text_cut.h"
#include "songlist/core/list_file_lines.h"
#include "songlist/core/song_list.h"

namespace {

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

// False for a path the file can't carry: the reader would end it at a TAB or a line break,
// take a line starting with '#' for a comment, pass an empty one over, or stop at a line
// longer than it reads.
bool fitsSongLine(const std::string& path) {
    return !path.empty() && path.front() != '#' &&
           path.find_first_of(std::string_view("\t\n\0", 3)) == std::string::npos &&
           path.size() + 2 <= kSongListLineMax;
}

// Author and title on one line: TAB, CR and LF become spaces, and the text is cut (on a
// character boundary) to the `room` left on the line.
std::string songLineText(std::string text, std::size_t room) {
    for (char& c : text) {
        if (c == '\t' || c == '\r' || c == '\n')
            c = ' ';
    }
    return text.size() <= room ? text : cutUtf8(text, room);
}

}  // namespace

int writeSongList(const std::string& path, const SongList& list, std::string* errorReason,
                  std::size_t* leftOut) {
    auto fail = [errorReason](int error) {
        if (errorReason != nullptr)
            *errorReason = systemReason(error);
        return -3;
    };
    std::string text = "#v1000";
    text += kLineEnd;
    text += "# Song List created by (tavik Vornel) at " + localTimeText() + kLineEnd;
    const int count = list.count();
    std::size_t skipped = 0;
    for (int i = 0; i < count; ++i) {
        const std::string title = list.titleAt(i);
        const std::string author = list.authorAt(i);
        const std::string songPath = list.pathAt(i);
        if (!fitsSongLine(songPath)) {
            ++skipped;
            continue;
        }
        std::size_t room = kSongListLineMax - songPath.size() - 2;
        const std::string authorText = songLineText(author, room);
        room -= authorText.size();
        text += songPath;
        text += '\t';
        text += authorText;
        text += '\t';
        text += songLineText(title, room);
        text += kLineEnd;
    }
    if (leftOut != nullptr)
        *leftOut = skipped;
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

    LineReader lines(file.get(), kSongListLineMax);
    std::string line;
    for (;;) {
        const LineEnd end = lines.next(line);
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
