#pragma once
// A play session on a simulated clock: the real PlaySession (sequencer, song list and
// searcher on its real thread, probing through a catalogue instead of GStreamer), with a
// fake graph, fake timers and a fake window. run() advances the clock and delivers timer ticks,
// song ends and posted messages in time order, as the window's event loop would.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "app/core/app_settings.h"
#include "playback/core/play_session.h"
#include "support/fake_player.h"
#include "support/fake_view.h"
#include "support/song_catalogue.h"

namespace seqtest {

using testsupport::FakePlayer;
using testsupport::lasting;
using testsupport::SongSpec;
using testsupport::unopenable;
using testsupport::unprobeable;

using testsupport::FakeTimers;
using testsupport::FakeView;

// The owner's side of the session's loop: the wake-up other threads give, waited for here.
class OwnerWake {
  public:
    void wake();
    // Waits up to `waitMs` for a wake-up; true when one came (and is taken).
    bool waitFor(int waitMs);

  private:
    std::mutex lock_;
    std::condition_variable changed_;
    bool woken_ = false;
};

// A PlaySession over the fakes, with the clock that drives them.
class Session {
  public:
    explicit Session(std::uint32_t seed = 1);
    ~Session();

    // Adds songs "dir/name" to the catalogue and returns "dir/a|dir/b|..." for File mode.
    std::string songs(const std::vector<std::string>& names, SongSpec spec = {});
    // startSession; with `waitForSearch` the search thread is finished (and waited for)
    // before the first timer tick, so every decision sees the whole list.
    int start(const std::string& selection, ListType kind = File, bool waitForSearch = true);
    // Advances the clock by `ms`, delivering what falls due, in time order.
    void run(std::int64_t ms);
    // Runs until the session has ended or `limitMs` has passed.
    void runToEnd(std::int64_t limitMs = 3600 * 1000);
    // Waits (pumping) until the list holds `count` entries.
    void waitForCount(int count);
    void waitForSearchEnd();
    // Serves the queued calls, on a still clock, until `count` songs have started.
    void waitForStarts(std::size_t count);
    // Serves what other threads handed over, waiting up to `waitMs` for a wake-up first.
    void serve(int waitMs);
    // SearchDone sends the session has handled.
    int searchDonesHandled() { return static_cast<int>(play.loop().sentCount()); }
    // Songs started from their beginning, in order (names for songs of songs()).
    std::vector<std::string> played() const;
    bool ended() const { return !sequencer.inSession(); }

    std::int64_t nowMs = 0;
    std::function<void()> onPump;  // lets a test act while the sequencer waits
    int pumps = 0;
    OwnerWake owner;
    testsupport::SongCatalogue catalogue;
    FakePlayer player;
    FakeTimers timers;
    FakeView view;
    AppSettings settings;
    PlaySession play;
    SongList& list;
    SongSearcher& searcher;
    RandGenerator& random;
    PlaySequencer& sequencer;
    int lastSliderPosition = -1;

  private:
    void deliverPosted();
};

}  // namespace seqtest
