#include "songlist/core/path_selection.h"

#include <filesystem>
#include <system_error>

#include "songlist/core/file_uri.h"
#include "songlist/core/handed_paths.h"
#include "songlist/core/playlist_file.h"
#include "songlist/core/selection_text.h"

namespace {

enum class Kind { Folder, SongList, File };

Kind kindOf(const std::string& path, PathKind onDisk) {
    if (onDisk == PathKind::Folder)
        return Kind::Folder;
    return isPlaylistName(path) ? Kind::SongList : Kind::File;
}

ListType modeOf(Kind kind) {
    switch (kind) {
        case Kind::Folder:
            return Folder;
        case Kind::SongList:
            return SongListFile;
        case Kind::File:
            break;
    }
    return File;
}

std::string absolutePath(const std::string& path) {
    std::error_code error;
    std::filesystem::path full = std::filesystem::absolute(path, error);
    std::string text = error ? path : full.lexically_normal().string();
    while (text.size() > 1 && text.back() == '/')
        text.pop_back();
    return text;
}

std::string skipped(const std::string& path, const std::string& why) {
    return "vorn: " + shownPath(path) + ": " + why + ", skipped";
}

}  // namespace

CommandLineSelection selectionFromPaths(const std::vector<std::string>& paths) {
    CommandLineSelection selection;
    std::vector<std::string> kept;
    Kind chosen = Kind::File;
    bool mixed = false;
    for (const std::string& given : paths) {
        // File managers hand over file:// addresses; they stand for their decoded bytes.
        UriPath uri = pathOfUri(given);
        if (uri.kind == UriKind::Other) {
            selection.messages.push_back(
                skipped(given, "not a local file (only file:// addresses can be played)"));
            continue;
        }
        const std::string path = uri.kind == UriKind::LocalFile ? std::move(uri.path) : given;
        if (!fitsSelection(path)) {
            selection.messages.push_back(
                skipped(given, path.empty() ? "empty path" : "a path holding \"|\""));
            continue;
        }
        const PathKind onDisk = pathKind(path);
        if (onDisk == PathKind::Missing) {
            selection.messages.push_back(skipped(given, "no such file or folder"));
            continue;
        }
        if (onDisk == PathKind::Unreadable) {
            selection.messages.push_back(skipped(given, "cannot be read"));
            continue;
        }
        const Kind kind = kindOf(path, onDisk);
        if (kept.empty())
            chosen = kind;
        else if (kind != chosen)
            mixed = true;
        kept.push_back(absolutePath(path));
    }
    if (kept.empty())
        return selection;
    // Paths of several kinds are a File selection: its search takes each item by what it
    // is, and the history keeps the whole of it as one entry.
    if (mixed)
        chosen = Kind::File;
    selection.mode = modeOf(chosen);
    if (kept.size() == 1 && chosen != Kind::File)
        selection.text = kept.front();
    else
        selection.text = joinSelection(kept);
    return selection;
}

std::vector<std::string> absoluteArguments(const std::vector<std::string>& paths) {
    std::vector<std::string> absolute;
    for (const std::string& path : paths) {
        const bool keep =
            path.empty() || path.front() == '/' || pathOfUri(path).kind != UriKind::NotUri;
        absolute.push_back(keep ? path : absolutePath(path));
    }
    return absolute;
}
