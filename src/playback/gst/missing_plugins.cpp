#include "playback/gst/missing_plugins.h"

#include <cstdio>
#include <mutex>
#include <set>

std::string missingPluginLine(const std::string& path, const std::string& description) {
    return "vorn: " + path + ": cannot be played: " + description +
           " is missing (install the GStreamer plug-in that provides it)";
}

void reportMissingPlugins(const std::string& path, const std::vector<std::string>& descriptions,
                          MissingPluginScope scope) {
    // A folder of a thousand such files would otherwise repeat the same line a thousand
    // times; several search threads may report at once.
    static std::mutex mutex;
    static std::set<std::string> told;
    std::lock_guard lock(mutex);
    for (const std::string& description : descriptions) {
        if (scope == MissingPluginScope::OncePerRun && !told.insert(description).second)
            continue;
        const std::string line = missingPluginLine(path, description) + "\n";
        std::fputs(line.c_str(), stderr);
    }
}
