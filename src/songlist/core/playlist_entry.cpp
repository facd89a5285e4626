#include "songlist/core/playlist_entry.h"

#include "songlist/core/file_uri.h"

std::string playlistFolder(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos)
        return {};
    return std::string(slash == 0 ? std::string_view("/") : path.substr(0, slash));
}

std::optional<std::string> entryPath(std::string_view location, std::string_view folder) {
    if (location.empty())
        return std::nullopt;
    UriPath uri = pathOfUri(location);
    if (uri.kind == UriKind::LocalFile)
        return std::move(uri.path);
    if (uri.kind == UriKind::Other)
        return std::nullopt;
    if (location.front() == '/' || folder.empty())
        return std::string(location);
    std::string path(folder);
    if (path.back() != '/')
        path += '/';
    path += location;
    return path;
}

void splitArtistTitle(std::string_view text, PlaylistEntry& entry) {
    constexpr std::string_view kSeparator = " - ";
    const std::size_t at = text.find(kSeparator);
    if (at == std::string_view::npos) {
        entry.author.clear();
        entry.title = std::string(text);
        return;
    }
    entry.author = std::string(text.substr(0, at));
    entry.title = std::string(text.substr(at + kSeparator.size()));
}

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}
