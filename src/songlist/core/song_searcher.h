#pragma once
// The song searcher turns a selection (folders, files or song list files joined by '|')
// into entries of the song list, on a thread of its own, probing every candidate.
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/core/list_type.h"
#include "songlist/core/song_probe.h"
#include "songlist/core/thread_task.h"

class SongList;
struct PlaylistEntry;
class VisitedFolders;

class SongSearcher : public ThreadTask {
  public:
    // Called on the search thread with the walk's result (0, or -1 for an unknown kind)
    // while running() is still true; it returns once the owner has handled it. The owner
    // must therefore never block its own thread on this searcher without a pump.
    using NotifyFn = std::function<void(int result)>;
    // Called on the search thread right after a search appended its first entry, once per
    // search; it must only hand the news on to the owner's thread, never wait for it.
    using FirstEntryFn = std::function<void()>;

    SongSearcher(SongList& list, SongProbeFactory probeFactory);
    // Requests a stop and waits for the search thread without pumping: an owner whose
    // notify needs its own thread must have called waitForEnd(pump) before.
    ~SongSearcher() override;

    // Set by the owner before start(), never while a search runs (wait for its end first).
    std::string selection;
    ListType kind = Folder;

    void requestStop() override;
    // The search: probes every candidate of `selection` and appends the good ones. Runs on
    // the thread of start(); may also be called directly, then it runs on the caller.
    int run() override;
    virtual void setNotify(NotifyFn notify);
    // Set while no search runs (the play session sets it once, before the first).
    void setFirstEntryNotify(FirstEntryFn notify) { firstEntry_ = std::move(notify); }
    // Rebuilds the patterns from the search setting, e.g. "*.wav;*.mp3;*.avi".
    void setPatterns(const std::string& searchExtent);
    const std::vector<std::string>& patterns() const { return patterns_; }
    // True while a search is under way: from start() (or the start of a direct run())
    // until just after the notification; requestStop() clears it.
    bool running() const { return running_.load(); }

  protected:
    void threadStarting(bool starting) override;

  private:
    using ItemHandler = int (SongSearcher::*)(const std::string&);

    int forEachItem(ItemHandler handler, const std::string& items);
    // An item of a File selection, searched by what it is: a folder as a folder, a
    // playlist file (by its name) as a list, anything else as a file. A command line
    // naming folders, files and lists together is one such selection.
    int searchItem(const std::string& item);
    // A named file: probed unless it is a FIFO, socket, device or folder.
    int addFile(const std::string& path);
    // A file known to be regular: probed and, when it opens, appended to the list with its
    // duration. Author and title come from the media; those of `listed` (a playlist's
    // entry, may be null) stand in for what the media doesn't give.
    int probeAndAdd(const std::string& path, const PlaylistEntry* listed);
    int searchFolder(const std::string& folder);
    void searchFolderOnce(const std::string& folder, VisitedFolders& visited);
    int readListFile(const std::string& path);

    SongList& list_;
    SongProbeFactory probeFactory_;
    std::unique_ptr<SongProbe> probe_;
    std::vector<std::string> patterns_;
    NotifyFn notify_;
    FirstEntryFn firstEntry_;
    // Whether this search has appended an entry yet; only the search's own thread uses it.
    bool appendedAny_ = false;
    std::atomic<bool> running_{false};
    // Set by start() when it already marked the search as running, so that a stop
    // requested before the thread got going is not undone by run().
    bool startedRunning_ = false;
};
