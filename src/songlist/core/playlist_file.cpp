#include "songlist/core/playlist_file.h"

#include "app/core/ascii_case.h"
#include "songlist/core/list_file_lines.h"
#include "songlist/core/m3u_file.h"
#include "songlist/core/pls_file.h"
#include "songlist/core/song_list_file.h"

namespace {

bool endsWith(std::string_view path, std::string_view suffix) {
    return path.size() >= suffix.size() &&
           equalsIgnoringAsciiCase(path.substr(path.size() - suffix.size()), suffix);
}

}  // namespace

PlaylistFormat playlistFormatOf(std::string_view path) {
    if (endsWith(path, ".m3u") || endsWith(path, ".m3u8"))
        return PlaylistFormat::M3u;
    if (endsWith(path, ".pls"))
        return PlaylistFormat::Pls;
    return PlaylistFormat::SongList;
}

bool isPlaylistName(std::string_view path) {
    return playlistFormatOf(path) != PlaylistFormat::SongList || endsWith(path, ".lst");
}

int readPlaylistFile(const std::string& path, const PlaylistSink& sink,
                     const KeepGoing& keepGoing) {
    const PlaylistFormat format = playlistFormatOf(path);
    if (format == PlaylistFormat::SongList) {
        return ReadSongListFile(
            path,
            [&sink](const std::string& song) {
                sink(PlaylistEntry{song, {}, {}});
            },
            keepGoing);
    }
    FilePtr file = openRegularFile(path);
    if (!file)
        return -1;
    const std::string folder = playlistFolder(path);
    return format == PlaylistFormat::M3u ? readM3u(file.get(), folder, sink, keepGoing)
                                         : readPls(file.get(), folder, sink, keepGoing);
}

int writeListFile(const std::string& path, const SongList& list, std::string* errorReason,
                  std::size_t* leftOut) {
    if (playlistFormatOf(path) == PlaylistFormat::M3u) {
        if (leftOut != nullptr)
            *leftOut = 0;  // M3U carries every path, as an address where needed
        return writeM3u8(path, list, errorReason);
    }
    return writeSongList(path, list, errorReason, leftOut);
}
