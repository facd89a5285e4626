#include "songlist/core/selection_text.h"

#include <filesystem>
#include <system_error>

PathKind pathKind(const std::string& path) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found)
        return PathKind::Missing;
    if (error || status.type() == std::filesystem::file_type::none ||
        status.type() == std::filesystem::file_type::unknown)
        return PathKind::Unreadable;
    return status.type() == std::filesystem::file_type::directory ? PathKind::Folder
                                                                  : PathKind::File;
}

bool fitsSelection(std::string_view path) {
    return !path.empty() && path.find('|') == std::string_view::npos;
}

std::string joinSelection(const std::vector<std::string>& paths) {
    std::string text;
    for (const std::string& path : paths) {
        text += path;
        text += '|';
    }
    return text;
}

std::string dropSelection(const std::vector<std::string>& paths, ListType mode) {
    const PathKind wanted = mode == Folder ? PathKind::Folder : PathKind::File;
    std::vector<std::string> kept;
    for (const std::string& path : paths) {
        if (fitsSelection(path) && pathKind(path) == wanted)
            kept.push_back(path);
    }
    return joinSelection(kept);
}
