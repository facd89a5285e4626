#pragma once
// Tells the user, on standard error, that a file can't be played because GStreamer lacks
// a plug-in, naming what is missing: something only the user can fix, by installing it.
#include <string>
#include <vector>

// "vorn: <path>: cannot be played: <description> is missing (install the GStreamer
// plug-in that provides it)".
std::string missingPluginLine(const std::string& path, const std::string& description);

enum class MissingPluginScope {
    EachFile,    // every file opened for play says what it lacks
    OncePerRun,  // the search probes many files: each description is told once per process
};

// Prints one line per description (none for an empty list).
void reportMissingPlugins(const std::string& path, const std::vector<std::string>& descriptions,
                          MissingPluginScope scope);
