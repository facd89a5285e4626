#include "songlist/core/song_searcher.h"

#include <sys/stat.h>

#include "app/core/text_cut.h"
#include "songlist/core/folder_listing.h"
#include "songlist/core/playlist_file.h"
#include "songlist/core/song_list.h"
#include "songlist/core/wildcard.h"

namespace {
// Author and title are held in 256-byte buffers: at most 255 bytes of text each.
constexpr std::size_t kContentTextMax = 255;

// Content text `kind` of the opened file into `out`, empty when the media offers none.
int readContentText(SongProbe& probe, int kind, std::string& out) {
    std::string text;
    const int result = probe.GetContentText(kind, text);
    out = result == 0 ? cutUtf8(text, kContentTextMax) : std::string();
    return result;
}

// A FIFO, socket or device (or a link to one) must never be opened: opening a FIFO
// blocks until a writer comes, and none of them is a song. A path that can't be looked up
// is left to the probe, which reports it as it reports any file it can't open.
bool isSpecialFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode);
}
}  // namespace

SongSearcher::SongSearcher(SongList& list, SongProbeFactory probeFactory)
    : list_(list), probeFactory_(std::move(probeFactory)) {}

SongSearcher::~SongSearcher() {
    requestStop();
    waitForEnd();
}

void SongSearcher::requestStop() {
    running_.store(false);
}

void SongSearcher::setNotify(NotifyFn notify) {
    notify_ = std::move(notify);
}

void SongSearcher::setPatterns(const std::string& searchExtent) {
    patterns_.clear();
    std::size_t start = 0;
    for (std::size_t semicolon = searchExtent.find(';'); semicolon != std::string::npos;
         semicolon = searchExtent.find(';', start)) {
        patterns_.push_back(searchExtent.substr(start, semicolon - start));
        start = semicolon + 1;
    }
    if (start < searchExtent.size())
        patterns_.push_back(searchExtent.substr(start));
}

void SongSearcher::threadStarting(bool starting) {
    // Published before the thread exists, so the owner never sees a search it has just
    // started as already over.
    running_.store(starting);
    startedRunning_ = starting;
}

int SongSearcher::run() {
    if (!startedRunning_)
        running_.store(true);
    startedRunning_ = false;
    appendedAny_ = false;
    probe_ = probeFactory_ ? probeFactory_() : nullptr;

    ItemHandler handler = nullptr;
    switch (kind) {
        case Folder:
            handler = &SongSearcher::searchFolder;
            break;
        case File:
            handler = &SongSearcher::searchItem;
            break;
        case SongListFile:
            handler = &SongSearcher::readListFile;
            break;
    }
    const int result = handler != nullptr ? forEachItem(handler, selection) : -1;

    if (notify_)
        notify_(result);
    running_.store(false);
    probe_.reset();
    return 0;
}

int SongSearcher::forEachItem(ItemHandler handler, const std::string& items) {
    const std::string text = items;  // the walk never sees later changes of the selection
    std::size_t pos = 0;
    while (pos < text.size() && running_.load()) {
        const std::size_t bar = text.find('|', pos);
        if (bar == std::string::npos) {
            (this->*handler)(text.substr(pos));
            break;
        }
        (this->*handler)(text.substr(pos, bar - pos));
        pos = bar + 1;
    }
    return 0;
}

int SongSearcher::searchItem(const std::string& item) {
    struct stat info {};
    if (::stat(item.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode))
            return searchFolder(item);
        if (S_ISREG(info.st_mode) && isPlaylistName(item))
            return readListFile(item);
    }
    return addFile(item);
}

int SongSearcher::addFile(const std::string& path) {
    if (isSpecialFile(path))
        return -1;
    return probeAndAdd(path, nullptr);
}

int SongSearcher::probeAndAdd(const std::string& path, const PlaylistEntry* listed) {
    if (!probe_ || !running_.load())
        return -1;
    const int opened = probe_->Open(path, true);
    if (opened != 0)
        return opened;
    std::string author;
    std::string title;
    readContentText(*probe_, Author, author);
    const int titleResult = readContentText(*probe_, Title, title);
    // The media's own texts first; a playlist's texts fill in what it has not.
    if (listed != nullptr && author.empty())
        author = cutUtf8(listed->author, kContentTextMax);
    if (listed != nullptr && title.empty())
        title = cutUtf8(listed->title, kContentTextMax);
    list_.append(path, std::move(author), std::move(title), probe_->GetDuration());
    if (!appendedAny_) {
        appendedAny_ = true;
        if (firstEntry_)
            firstEntry_();
    }
    return titleResult;
}

int SongSearcher::searchFolder(const std::string& folder) {
    // An empty piece of the selection ("a||b") would otherwise search the whole root.
    if (folder.empty())
        return 0;
    VisitedFolders visited;
    searchFolderOnce(folder, visited);
    return 0;
}

// One folder: the files matching each pattern in pattern order, then every subfolder,
// depth first. The folder is read once; the patterns are applied to that listing.
void SongSearcher::searchFolderOnce(const std::string& folder, VisitedFolders& visited) {
    if (!running_.load())
        return;
    const std::string base = folder + '/';
    FolderListing listing;
    if (!listing.read(base) || !visited.enter(listing))
        return;

    std::string path = base;
    for (const std::string& pattern : patterns_) {
        if (!running_.load())
            return;
        if (pattern.empty())
            continue;
        for (const FolderListing::Entry& entry : listing.entries()) {
            if (!running_.load())
                return;
            if (!entry.isRegular || !wildcardMatch(pattern, listing.name(entry)))
                continue;
            path.resize(base.size());
            path.append(listing.name(entry));
            probeAndAdd(path, nullptr);
        }
    }
    for (const FolderListing::Entry& entry : listing.entries()) {
        if (!running_.load())
            return;
        if (!entry.isFolder)
            continue;
        path.resize(base.size());
        path.append(listing.name(entry));
        searchFolderOnce(path, visited);
    }
}

int SongSearcher::readListFile(const std::string& path) {
    return readPlaylistFile(
        path,
        [this](const PlaylistEntry& entry) {
            if (!isSpecialFile(entry.path))
                probeAndAdd(entry.path, &entry);
        },
        [this] { return running_.load(); });
}
