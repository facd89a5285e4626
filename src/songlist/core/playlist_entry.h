#pragma once
// One song named by a playlist (".m3u", ".m3u8", ".pls", ".lst"): its path, and the author
// and title the playlist gives (empty when it gives none). The searcher still probes the
// file; the playlist's texts stand in only for what the media doesn't offer.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// Longest line the playlist readers take; longer lines are passed over. It holds the
// longest path the system takes (4095 bytes) even written as a file:// address.
inline constexpr std::size_t kPlaylistLineMax = 16384;

struct PlaylistEntry {
    std::string path;
    std::string author;
    std::string title;
};

using PlaylistSink = std::function<void(const PlaylistEntry& entry)>;
// Asked before each entry is handed on; false ends the reading there.
using KeepGoing = std::function<bool()>;

// The folder of the playlist file `path`: the text before its last "/", "" for none.
std::string playlistFolder(std::string_view path);

// The path an entry's location stands for: a file address decoded, a relative path put
// under `folder` (the playlist's own folder), an absolute one as it is. nullopt for an
// address that names no local file (http://..., another host) or an empty location.
std::optional<std::string> entryPath(std::string_view location, std::string_view folder);

// "Artist - Title" as author and title; a text without " - " is a title alone.
void splitArtistTitle(std::string_view text, PlaylistEntry& entry);

// `text` without blanks (space, TAB) at either end.
std::string_view trimmed(std::string_view text);
