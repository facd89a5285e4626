#pragma once
// The files a song list selection may name, each read by its own format: ".m3u" and
// ".m3u8" as M3U, ".pls" as PLS (any letter case), anything else as a ".lst" song list.
#include <cstddef>
#include <string>
#include <string_view>

#include "songlist/core/playlist_entry.h"

class SongList;

enum class PlaylistFormat { SongList, M3u, Pls };

PlaylistFormat playlistFormatOf(std::string_view path);

// True for a name ending in ".lst", ".m3u", ".m3u8" or ".pls", ignoring letter case.
bool isPlaylistName(std::string_view path);

// Reads the list file `path` in its format and hands its entries to `sink` in order (a
// .lst gives paths only). 0 at the end of the file, -1 when it can't be opened or is no
// regular file, -2 when reading stopped early (see ReadSongListFile, readM3u, readPls).
int readPlaylistFile(const std::string& path, const PlaylistSink& sink,
                     const KeepGoing& keepGoing = {});

// Writes `list` to `path`: as UTF-8 M3U for a ".m3u8" or ".m3u" name, else as a .lst
// (writeSongList, which may leave songs out and counts them in `leftOut`). 0 when
// written, -3 when not, with the reason.
int writeListFile(const std::string& path, const SongList& list, std::string* errorReason,
                  std::size_t* leftOut);
