#pragma once
// The song searcher turns a selection (folders, files or song list files joined by '|')
// into entries of the song list, on a thread of its own, probing every candidate.
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "songlist/list_type.h"
#include "songlist/song_probe.h"

class SongList;

// Base of a task that runs on a thread of its own.
class ThreadTask {
public:
    virtual ~ThreadTask();
    ThreadTask() = default;
    ThreadTask(const ThreadTask&) = delete;
    ThreadTask& operator=(const ThreadTask&) = delete;

    virtual void requestStop() = 0;
    virtual int run() = 0;

    // Starts run() on a new thread. A previous thread must have been waited for.
    // False when the thread can't be created.
    bool start();
    // True from start() until the thread has been waited for.
    bool hasThread() const;
    // Waits until the thread has ended and releases it. `pump` is called repeatedly while
    // waiting, so a caller on the user-interface thread keeps handling what the thread
    // sends it synchronously (no deadlock). Without a thread it returns at once.
    void waitForEnd(const std::function<void()>& pump = {});

protected:
    // Marks the thread as ended; run() calls it as its last step.
    void markThreadEnded();

private:
    std::thread thread_;
    std::atomic<bool> ended_{true};
};

class SongSearcher : public ThreadTask {
public:
    // Called on the search thread with the walk's result; it returns once the owner has
    // handled it (the owner's thread must not be blocked waiting for this thread then).
    using NotifyFn = std::function<void(int result)>;

    SongSearcher(SongList& list, SongProbeFactory probeFactory);
    ~SongSearcher() override;  // stops and waits for a running search

    // Set by the owner before start().
    std::string selection;
    ListType kind = Folder;

    void requestStop() override;
    int run() override;
    virtual void setNotify(NotifyFn notify);
    void setPatterns(const std::string& searchExtent);
    const std::vector<std::string>& patterns() const { return patterns_; }
    bool running() const { return running_.load(); }

    // The item walk and its handlers, on the search thread (public for tests).
    int forEachItem(int (SongSearcher::*handler)(const std::string&), const std::string& items);
    int addFile(const std::string& path);
    int searchFolder(const std::string& folder);
    int readSongListFile(const std::string& path);

private:
    SongList& list_;
    SongProbeFactory probeFactory_;
    std::unique_ptr<SongProbe> probe_;
    std::vector<std::string> patterns_;
    NotifyFn notify_;
    std::atomic<bool> running_{false};
};
