#pragma once
// The song list file (".lst"): a version line, a comment line with the time of writing,
// then one line per song, "path TAB author TAB title", every line ending in CR LF. Paths
// and texts are written as the bytes they are, without quoting; a TAB, CR or LF in an
// author or title is written as a space, so every line reads back as it was meant.
#include <cstddef>
#include <functional>
#include <string>

class SongList;

// A reader takes at most this many characters of a line.
constexpr std::size_t kSongListLineMax = 5119;

// Writes `list` to `path`, replacing the file only once the new list is completely written
// and synced (the folder must exist). 0 when written; -3 when it can't be written, with the
// system's reason in `errorReason` when given; the file at `path` is then as it was. The count
// is read once; each field of each entry is copied under its own lock section, so a
// search may go on appending meanwhile. A song whose path the file can't carry (a TAB or
// LF in it, a '#' first, empty, or too long for a line) is left out; `leftOut`, when
// given, receives how many were.
int writeSongList(const std::string& path, const SongList& list, std::string* errorReason,
                  std::size_t* leftOut = nullptr);

// Reads the list file `path` and hands the path of every song line, in file order, to
// `addFile`. A UTF-8 byte-order mark at the start is skipped. Lines starting with '#' are comments;
// a path ends at the first TAB; empty paths are passed over. `keepGoing`, when set, is asked before
// each path is handed on; when it returns false the reading ends there and returns 0. 0 at the end
// of the file, -1 when it can't be opened or is no regular file (a FIFO is refused without
// waiting), -2 when reading stopped early: a read error, or a line longer than kSongListLineMax
// (its first kSongListLineMax characters are still used).
int ReadSongListFile(const std::string& path,
                     const std::function<void(const std::string& songPath)>& addFile,
                     const std::function<bool()>& keepGoing = {});
