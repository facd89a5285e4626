#include "playback/core/cover_file.h"

#include <array>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "app/core/ascii_case.h"
#include "songlist/core/folder_listing.h"

namespace {

constexpr std::array<std::string_view, 4> kNames = {"cover", "folder", "front", "album"};
constexpr std::array<std::string_view, 3> kTypes = {"jpg", "jpeg", "png"};
constexpr std::size_t kNoRank = kNames.size() * kTypes.size();

// Where `file` stands among the candidates (lower first); kNoRank when it is none.
std::size_t coverRank(std::string_view file) {
    std::size_t dot = file.rfind('.');
    if (dot == std::string_view::npos)
        return kNoRank;
    std::string_view stem = file.substr(0, dot);
    std::string_view type = file.substr(dot + 1);
    for (std::size_t name = 0; name < kNames.size(); ++name) {
        if (!equalsIgnoringAsciiCase(stem, kNames[name]))
            continue;
        for (std::size_t kind = 0; kind < kTypes.size(); ++kind)
            if (equalsIgnoringAsciiCase(type, kTypes[kind]))
                return name * kTypes.size() + kind;
    }
    return kNoRank;
}

}  // namespace

std::string folderCoverOf(const std::string& songPath) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::path folder = fs::absolute(fs::path(songPath), error).parent_path();
    FolderListing listing;
    if (error || !listing.read(folder.string()))
        return "";
    // The listing is in name order, so of two names differing only in case the first wins
    // every time.
    std::size_t best = kNoRank;
    std::string_view bestName;
    for (const FolderListing::Entry& entry : listing.entries()) {
        std::size_t rank = entry.isRegular ? coverRank(listing.name(entry)) : kNoRank;
        if (rank < best) {
            best = rank;
            bestName = listing.name(entry);
        }
    }
    if (best == kNoRank)
        return "";
    return (folder / fs::path(std::string(bestName))).lexically_normal().string();
}
