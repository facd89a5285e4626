#pragma once
// M3U playlists (".m3u", ".m3u8"), as other players write them: one location per line (a
// path, absolute or relative to the playlist's folder, or a file:// address), comment
// lines starting with "#", an optional "#EXTM3U" header and "#EXTINF:seconds,Artist - Title"
// before a location. Lines end in LF or CR LF; a UTF-8 byte-order mark is skipped.
#include <cstdio>
#include <string>
#include <string_view>

#include "songlist/core/playlist_entry.h"

class SongList;

// Reads the playlist from `file` (its folder is `folder`) and hands every entry naming a
// local file to `sink`, in file order. Locations of other schemes are passed over. 0 at
// the end of the file or when `keepGoing` said stop, -2 on a read error.
int readM3u(std::FILE* file, std::string_view folder, const PlaylistSink& sink,
            const KeepGoing& keepGoing = {});

// The list as UTF-8 M3U: "#EXTM3U", then per song "#EXTINF:" with its whole seconds (-1
// when unknown) and "Author - Title" (or the title alone), then its location. A path that
// is not valid UTF-8, holds a line break, or has blanks at an end is written as a file://
// address; a relative one is made absolute. Lines end in LF.
std::string m3u8Text(const SongList& list);

// Writes m3u8Text(list) to `path` as writeSongList writes a .lst: replaced whole once
// written (the folder must exist). 0 when written, -3 when not, with the reason.
int writeM3u8(const std::string& path, const SongList& list, std::string* errorReason);
