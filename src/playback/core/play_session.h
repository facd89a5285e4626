#pragma once
// Everything one play session runs on, wired in one place: the song list, the searcher
// over it, the random generator, the SearchDone hand-off from the search thread and the
// play sequencer over them all. The owner (the player window, or a test harness) provides
// the graph, the timers, the view, the settings, the probes and a way to run a job on its
// own thread; the session owns the rest and takes it down in the one safe order.
#include <chrono>
#include <functional>
#include <memory>

#include "playback/core/play_sequencer.h"
#include "playback/core/rand_generator.h"
#include "playback/core/search_done_channel.h"
#include "songlist/core/song_list.h"
#include "songlist/core/song_probe.h"
#include "songlist/core/song_searcher.h"

class PlaySession {
  public:
    using Job = std::function<void()>;
    // Runs `job` soon on the thread that owns the session; called from the search thread.
    // The owner drops jobs still queued when it goes away.
    using PostToOwner = std::function<void(Job job)>;

    // The references must outlive the session. Constructed on the owner's thread: the one
    // SearchDone is handled on.
    PlaySession(Player& player, SequencerTimers& timers, PlayerView& view,
                const AppSettings& settings, SongProbeFactory probes, PostToOwner post,
                RandGenerator random = RandGenerator::seededFromClock());
    // Stops and waits for a running search (serving its SearchDone through the view's
    // pump), then takes the parts down, the sequencer first and the list last.
    ~PlaySession();
    PlaySession(const PlaySession&) = delete;
    PlaySession& operator=(const PlaySession&) = delete;

    // Stops a running search and waits at most `limit` for its thread; false when it is
    // still running then (the session must not be destroyed yet). See
    // PlaySequencer::shutdown.
    bool shutdown(std::chrono::milliseconds limit = ThreadTask::kNoLimit);

    // The view's sendSearchDone: any thread; returns once the owner's thread handled it.
    void sendSearchDone(int result) { searchDone_.send(result); }
    // The view's pump: handles SearchDone sends waiting for the owner's thread.
    int serveSearchDone() { return searchDone_.drain(); }

    PlaySequencer& sequencer() { return *sequencer_; }
    const PlaySequencer& sequencer() const { return *sequencer_; }
    SongList& list() { return *list_; }
    const SongList& list() const { return *list_; }
    SongSearcher& searcher() { return *searcher_; }
    RandGenerator& random() { return random_; }

  private:
    // In the order they are built; the destructor takes them down explicitly.
    std::unique_ptr<SongList> list_;
    std::unique_ptr<SongSearcher> searcher_;
    RandGenerator random_;
    SearchDoneChannel searchDone_;
    std::unique_ptr<PlaySequencer> sequencer_;
};
