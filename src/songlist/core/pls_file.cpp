#include "songlist/core/pls_file.h"

#include <map>
#include <optional>
#include <string>

#include "app/core/ascii_case.h"
#include "songlist/core/list_file_lines.h"

namespace {

struct Slot {
    std::optional<std::string> file;
    std::string title;
};

// The entry number of a key "<name>N" (N of one to nine digits); nullopt otherwise.
std::optional<unsigned long> numberOf(std::string_view key, std::string_view name) {
    if (key.size() <= name.size() || key.size() > name.size() + 9 ||
        !equalsIgnoringAsciiCase(key.substr(0, name.size()), name))
        return std::nullopt;
    unsigned long number = 0;
    for (const char c : key.substr(name.size())) {
        if (c < '0' || c > '9')
            return std::nullopt;
        number = number * 10 + static_cast<unsigned long>(c - '0');
    }
    return number;
}

}  // namespace

int readPls(std::FILE* file, std::string_view folder, const PlaylistSink& sink,
            const KeepGoing& keepGoing) {
    std::map<unsigned long, Slot> slots;
    bool inPlaylist = true;  // keys before any section header are taken too
    const int result = forEachLine(file, kPlaylistLineMax, [&](std::string_view text) {
        const std::string_view line = trimmed(text);
        if (line.empty() || line.front() == ';' || line.front() == '#')
            return true;
        if (line.front() == '[') {
            inPlaylist = equalsIgnoringAsciiCase(line, "[playlist]");
            return true;
        }
        const std::size_t equals = line.find('=');
        if (!inPlaylist || equals == std::string_view::npos)
            return true;
        const std::string_view key = trimmed(line.substr(0, equals));
        const std::string_view value = trimmed(line.substr(equals + 1));
        if (const auto number = numberOf(key, "File"))
            slots[*number].file = std::string(value);
        else if (const auto titled = numberOf(key, "Title"))
            slots[*titled].title = std::string(value);
        return true;
    });
    for (const auto& [number, slot] : slots) {
        if (!slot.file)
            continue;
        std::optional<std::string> path = entryPath(*slot.file, folder);
        if (!path)
            continue;
        if (keepGoing && !keepGoing())
            break;
        PlaylistEntry entry;
        splitArtistTitle(slot.title, entry);
        entry.path = std::move(*path);
        sink(entry);
    }
    return result;
}
