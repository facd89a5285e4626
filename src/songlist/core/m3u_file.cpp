#include "songlist/core/m3u_file.h"

#include <cmath>
#include <filesystem>
#include <system_error>

#include "app/core/atomic_file.h"
#include "app/core/text_cut.h"
#include "songlist/core/file_uri.h"
#include "songlist/core/list_file_lines.h"
#include "songlist/core/song_list.h"

namespace {

constexpr std::string_view kExtInf = "#EXTINF:";

// The texts of "#EXTINF:duration[ attributes],Artist - Title": what follows the first comma
// outside double quotes (attributes such as tvg-name="a,b" may hold commas).
void readExtInf(std::string_view line, PlaylistEntry& entry) {
    bool quoted = false;
    for (std::size_t at = kExtInf.size(); at < line.size(); ++at) {
        if (line[at] == '"')
            quoted = !quoted;
        else if (line[at] == ',' && !quoted) {
            splitArtistTitle(trimmed(line.substr(at + 1)), entry);
            return;
        }
    }
}

// One line of text: line breaks become spaces.
std::string oneLine(std::string text) {
    for (char& c : text) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    return text;
}

std::string locationOf(const std::string& path) {
    std::string absolute = path;
    if (absolute.empty() || absolute.front() != '/') {
        std::error_code error;
        const std::filesystem::path full = std::filesystem::absolute(path, error);
        if (!error)
            absolute = full.string();
    }
    const bool plain = !absolute.empty() && absolute.front() == '/' && isValidUtf8(absolute) &&
                       absolute.find_first_of("\r\n") == std::string::npos &&
                       trimmed(absolute).size() == absolute.size();
    return plain ? absolute : fileUriOf(absolute);
}

}  // namespace

int readM3u(std::FILE* file, std::string_view folder, const PlaylistSink& sink,
            const KeepGoing& keepGoing) {
    PlaylistEntry entry;
    return forEachLine(file, kPlaylistLineMax, [&](std::string_view text) {
        const std::string_view line = trimmed(text);
        if (line.empty())
            return true;
        if (line.front() == '#') {
            if (line.substr(0, kExtInf.size()) == kExtInf)
                readExtInf(line, entry);
            return true;
        }
        std::optional<std::string> path = entryPath(line, folder);
        if (path) {
            if (keepGoing && !keepGoing())
                return false;
            entry.path = std::move(*path);
            sink(entry);
        }
        entry = PlaylistEntry{};  // an #EXTINF belongs to the location after it only
        return true;
    });
}

std::string m3u8Text(const SongList& list) {
    std::string text = "#EXTM3U\n";
    const int count = list.count();
    for (int i = 0; i < count; ++i) {
        const std::string title = oneLine(list.titleAt(i));
        const std::string author = oneLine(list.authorAt(i));
        const double duration = list.durationAt(i);
        const std::string path = list.pathAt(i);
        const long seconds = duration >= 0 ? std::lround(std::floor(duration)) : -1;
        text += std::string(kExtInf) + std::to_string(seconds) + ",";
        text += author.empty() ? title : author + " - " + title;
        text += '\n';
        text += locationOf(path);
        text += '\n';
    }
    return text;
}

int writeM3u8(const std::string& path, const SongList& list, std::string* errorReason) {
    std::error_code error;
    if (replaceFileAtomically(path, m3u8Text(list), MissingFolder::Fail, &error))
        return 0;
    if (errorReason != nullptr)
        *errorReason = std::generic_category().message(error.value());
    return -3;
}
