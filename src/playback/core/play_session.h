#pragma once
// Everything one play session runs on, wired in one place: the song list, the searcher
// over it, the random generator, the hand-off of other threads' work to the owner's
// thread and the play sequencer over them all. The owner (the player window, or a test
// harness) provides the graph, the timers, the view, the settings, the probes and a
// wake-up for its thread; the session owns the rest and takes it down in the one safe
// order.
#include <chrono>
#include <functional>
#include <memory>

#include "playback/core/owner_loop.h"
#include "playback/core/play_sequencer.h"
#include "playback/core/rand_generator.h"
#include "songlist/core/song_list.h"
#include "songlist/core/song_probe.h"
#include "songlist/core/song_searcher.h"

class PlaySession {
  public:
    // The owner's hooks: `wake` (any thread) asks the owner to call serve() on its thread
    // soon; `idle` (owner's thread, may be empty) serves the owner's other events while
    // the session waits for another thread (a search that stops, a song that opens), so
    // the windows stay painted.
    struct OwnerHooks {
        OwnerLoop::Wake wake;
        std::function<void()> idle;
    };

    // The references must outlive the session. Constructed on the owner's thread: the one
    // its jobs run on.
    PlaySession(Player& player, SequencerTimers& timers, PlayerView& view,
                const AppSettings& settings, SongProbeFactory probes, OwnerHooks hooks,
                RandGenerator random = RandGenerator::seededFromClock());
    // Stops and waits for a running search (serving its SearchDone meanwhile), then takes
    // the parts down, the sequencer first and the list last.
    ~PlaySession();
    PlaySession(const PlaySession&) = delete;
    PlaySession& operator=(const PlaySession&) = delete;

    // Stops a running search and waits at most `limit` for its thread; false when it is
    // still running then (the session must not be destroyed yet). See
    // PlaySequencer::shutdown.
    bool shutdown(std::chrono::milliseconds limit = ThreadTask::kNoLimit);

    // Owner's thread: runs what other threads handed over (graph notifications, SearchDone,
    // the first song's call); the number run.
    int serve() { return loop_.serve(); }
    OwnerLoop& loop() { return loop_; }

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
    OwnerLoop loop_;
    std::unique_ptr<PlaySequencer> sequencer_;
};
