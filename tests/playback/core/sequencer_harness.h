#pragma once
// A play session on a simulated clock: the real PlaySession (sequencer, song list and
// searcher on its real thread, probing through a catalogue instead of GStreamer), with a
// fake graph, fake timers and a fake window. run() advances the clock and delivers timer ticks,
// song ends and posted messages in time order, as the window's event loop would.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "app/core/app_settings.h"
#include "playback/core/play_session.h"
#include "support/fake_player.h"
#include "support/song_catalogue.h"

namespace seqtest {

using testsupport::FakePlayer;
using testsupport::lasting;
using testsupport::SongSpec;
using testsupport::unopenable;
using testsupport::unprobeable;

class FakeTimers : public SequencerTimers {
  public:
    explicit FakeTimers(const std::int64_t& nowMs) : nowMs_(nowMs) {}
    void startTimer(TimerId id, int periodMs) override;
    void killTimer(TimerId id) override { due_.erase(id); }
    bool runs(TimerId id) const { return due_.count(id) != 0; }
    int period(TimerId id) const { return runs(id) ? due_.at(id).period : 0; }
    // The timer due first (earliest, then lowest id), or false when none runs.
    bool next(TimerId& id, std::int64_t& at) const;
    void fired(TimerId id);

  private:
    struct Due {
        int period;
        std::int64_t at;
    };
    const std::int64_t& nowMs_;
    std::map<TimerId, Due> due_;
};

class FakeView : public PlayerView {
  public:
    void setStatusText(const std::string& t) override { status = t; }
    void setSliderText(const std::string& t) override { sliderText = t; }
    void resetSlider() override { ++sliderResets; }
    void refreshItemCount(int count) override { itemCount = count; }
    void showMessage(const std::string& t) override { messages.push_back(t); }
    void setTrayTip(const std::string& t) override { trayTips.push_back(t); }
    void iconify() override { ++iconified; }
    void redrawSlider() override { ++sliderRedraws; }
    void showSongList(int index) override { songListShownAt = index; }
    void soundExclamation() override { ++beeps; }
    void postPlayIndex(int index) override;
    void handBackToMainBar() override { ++handBacks; }
    void postExitToMainBar() override { ++exitsPosted; }

    // Takes the next posted PlayIndex: false when none.
    bool takePosted(int& index);

    std::string status, sliderText;
    int sliderResets = 0, itemCount = -1, iconified = 0, sliderRedraws = 0;
    int songListShownAt = -99, beeps = 0, handBacks = 0, exitsPosted = 0;
    std::vector<std::string> messages, trayTips;

  private:
    std::deque<int> posted_;
};

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
