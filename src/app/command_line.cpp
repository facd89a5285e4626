#include "app/command_line.h"

#include <filesystem>
#include <system_error>

#include "app/selection_text.h"

namespace {

enum class Kind { Folder, SongList, File };

Kind kindOf(const std::string& path, PathKind onDisk) {
    if (onDisk == PathKind::Folder)
        return Kind::Folder;
    return isSongListName(path) ? Kind::SongList : Kind::File;
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

const char* kindName(Kind kind) {
    switch (kind) {
        case Kind::Folder:
            return "a folder";
        case Kind::SongList:
            return "a song list";
        case Kind::File:
            break;
    }
    return "a media file";
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
    return "vorn: " + path + ": " + why + ", skipped";
}

}  // namespace

bool isSongListName(const std::string& path) {
    constexpr std::string_view suffix = ".lst";
    if (path.size() < suffix.size())
        return false;
    const std::string_view tail = std::string_view(path).substr(path.size() - suffix.size());
    for (std::size_t i = 0; i < suffix.size(); ++i) {
        const char c = tail[i];
        const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        if (lower != suffix[i])
            return false;
    }
    return true;
}

CommandLineSelection selectionFromPaths(const std::vector<std::string>& paths) {
    CommandLineSelection selection;
    std::vector<std::string> kept;
    Kind chosen = Kind::File;
    for (const std::string& given : paths) {
        if (!fitsSelection(given)) {
            selection.messages.push_back(
                skipped(given, given.empty() ? "empty path" : "a path holding \"|\""));
            continue;
        }
        const PathKind onDisk = pathKind(given);
        if (onDisk == PathKind::Missing) {
            selection.messages.push_back(skipped(given, "no such file or folder"));
            continue;
        }
        if (onDisk == PathKind::Unreadable) {
            selection.messages.push_back(skipped(given, "cannot be read"));
            continue;
        }
        const Kind kind = kindOf(given, onDisk);
        if (kept.empty()) {
            chosen = kind;
        } else if (kind != chosen) {
            selection.messages.push_back(
                skipped(given, std::string("not ") + kindName(chosen) + " like the first path"));
            continue;
        }
        kept.push_back(absolutePath(given));
    }
    if (kept.empty())
        return selection;
    selection.mode = modeOf(chosen);
    if (kept.size() == 1 && chosen != Kind::File)
        selection.text = kept.front();
    else
        selection.text = joinSelection(kept);
    return selection;
}
