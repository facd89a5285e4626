#pragma once
// The paths another program hands the running player, over the session bus (Open,
// OpenUri) or the hand-over socket, are played only when they mean one thing wherever
// they come from: absolute paths and file:// addresses without a NUL byte. A relative
// path would be looked up in the player's own folder, not the sender's; a NUL byte ends
// the path early at the file system's calls, so another file would play. One request is
// bounded as the hand-over socket's message is (HandoverReader): more paths or bytes than
// a command line carries refuse it whole, before any path is looked at.
#include <string>
#include <vector>

struct HandedPaths {
    std::vector<std::string> paths;     // the ones to play, in their order
    std::vector<std::string> messages;  // one line per refusal, for standard error
};

HandedPaths checkHandedPaths(std::vector<std::string> paths);

// `path` as a message line shows it: cut after a few hundred bytes (a path may be
// megabytes long), a NUL byte shown as "\0" and the rest left out.
std::string shownPath(const std::string& path);
