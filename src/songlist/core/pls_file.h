#pragma once
// PLS playlists: an ini-like "[playlist]" section with "FileN=" (a path, relative to the
// playlist's folder, or a file:// address), "TitleN=" and "LengthN=" per entry N, and
// "NumberOfEntries=" and "Version=". Names are compared ignoring letter case.
#include <cstdio>
#include <string_view>

#include "songlist/core/playlist_entry.h"

// Reads the playlist from `file` (its folder is `folder`) and hands its entries that name
// local files to `sink` in the order of their numbers, whatever order the lines have, once
// the file is read. An entry without FileN is passed over; NumberOfEntries is not needed,
// so a file whose count is wrong still plays whole. Keys outside [playlist] are passed
// over. 0 at the end (or when `keepGoing` said stop), -2 on a read error (after handing on
// the entries read before it).
int readPls(std::FILE* file, std::string_view folder, const PlaylistSink& sink,
            const KeepGoing& keepGoing = {});
