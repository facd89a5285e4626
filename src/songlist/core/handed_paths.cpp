#include "songlist/core/handed_paths.h"

#include "app/core/ascii_case.h"
#include "app/core/handover_reader.h"
#include "app/core/text_cut.h"
#include "songlist/core/file_uri.h"

namespace {

constexpr std::size_t kShownBytes = 300;

// A file address whose decoded path holds a NUL byte: "%00" is what decodes to one.
bool fileUriWithNul(const std::string& text) {
    return pathOfUri(text).kind == UriKind::Other && text.size() >= 5 &&
           equalsIgnoringAsciiCase(std::string_view(text).substr(0, 5), "file:") &&
           text.find("%00") != std::string::npos;
}

// Why `path` is refused; empty when it is taken (the command line's rules then apply).
const char* refusal(const std::string& path) {
    if (path.find('\0') != std::string::npos || fileUriWithNul(path))
        return "a path holding a NUL byte";
    if (pathOfUri(path).kind == UriKind::NotUri && !path.empty() && path.front() != '/')
        return "a relative path (only absolute paths and file:// addresses are taken)";
    return nullptr;
}

}  // namespace

std::string shownPath(const std::string& path) {
    const std::size_t nul = path.find('\0');
    std::string shown = cutUtf8(std::string_view(path).substr(0, nul), kShownBytes);
    if (nul != std::string::npos)
        return shown + "\\0...";
    return shown.size() < path.size() ? shown + "..." : shown;
}

HandedPaths checkHandedPaths(std::vector<std::string> paths) {
    HandedPaths checked;
    std::size_t bytes = 0;
    for (const std::string& path : paths)
        bytes += path.size();
    if (paths.size() > HandoverReader::kMaxPaths || bytes > HandoverReader::kMaxBytes) {
        checked.messages.push_back("vorn: a request to open " + std::to_string(paths.size()) +
                                   " paths of " + std::to_string(bytes) +
                                   " bytes was refused (at most " +
                                   std::to_string(HandoverReader::kMaxPaths) + " paths and " +
                                   std::to_string(HandoverReader::kMaxBytes >> 20) + " MB)");
        return checked;
    }
    for (std::string& path : paths) {
        if (const char* why = refusal(path))
            checked.messages.push_back("vorn: " + shownPath(path) + ": " + why + ", skipped");
        else
            checked.paths.push_back(std::move(path));
    }
    return checked;
}
