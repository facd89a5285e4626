#pragma once
// The paths of "vorn [--ini FILE] [PATH...]" as a selection for the main bar. A path may
// also be a file:// address (as file managers give them), which stands for its decoded
// bytes. Paths of one kind give that kind's mode: folders Folder, playlist files (".lst",
// ".m3u", ".m3u8", ".pls", any letter case) SongListFile, other files File. Paths of
// several kinds give File, whose search takes each item by what it is, so all of them
// play in the order given. The paths are joined as a drop joins them; a single folder or
// song list stays a plain path, as the folder browser and the song list dialog give it,
// while a File selection always ends with "|", as the file dialog gives it. Paths that do
// not exist or cannot be read, paths holding "|" and addresses of other schemes or hosts
// are skipped, each with a message line.
#include <string>
#include <vector>

#include "app/core/list_type.h"

struct CommandLineSelection {
    bool empty() const { return text.empty(); }

    ListType mode = Folder;
    std::string text;                   // the selection; empty when no path was usable
    std::vector<std::string> messages;  // one line per skipped path, for standard error
};

// Relative paths are made absolute (against the current folder) so that the history entry
// the selection becomes still means the same at the next start; trailing "/" are dropped.
CommandLineSelection selectionFromPaths(const std::vector<std::string>& paths);

// The paths as another process (the running player) can take them: relative paths made
// absolute against this process's current folder, addresses and absolute paths unchanged.
std::vector<std::string> absoluteArguments(const std::vector<std::string>& paths);
