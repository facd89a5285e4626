#pragma once
// The paths of "vorn [--ini FILE] [PATH...]" as a selection for the main bar. The first
// usable path sets the mode: a folder selects Folder, a file ending in ".lst" (any letter
// case) SongListFile, any other file File. The paths of that kind are joined as a drop
// joins them; a single folder or song list stays a plain path, as the folder browser and
// the song list dialog give it, while files always end with "|", as the file dialog gives
// them. Paths of another kind, paths that do not exist or cannot be read and paths
// holding "|" are skipped, each with a message line.
#include <string>
#include <vector>

#include "songlist/list_type.h"

struct CommandLineSelection {
    bool empty() const { return text.empty(); }

    ListType mode = Folder;
    std::string text;                   // the selection; empty when no path was usable
    std::vector<std::string> messages;  // one line per skipped path, for standard error
};

// Relative paths are made absolute (against the current folder) so that the history entry
// the selection becomes still means the same at the next start; trailing "/" are dropped.
CommandLineSelection selectionFromPaths(const std::vector<std::string>& paths);

// True for a name ending in ".lst", ignoring letter case.
bool isSongListName(const std::string& path);
