#pragma once
// A play session on a simulated clock: the real sequencer, song list and searcher (on its
// real thread, probing through a catalogue instead of GStreamer), with a fake graph, fake
// timers and a fake window. run() advances the clock and delivers timer ticks, song ends
// and posted messages in time order, as the window's event loop would.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "app/core/app_settings.h"
#include "playback/core/play_sequencer.h"
#include "songlist/core/song_list.h"
#include "songlist/core/song_searcher.h"

namespace seqtest {

struct SongSpec {
    double duration = 240;
    bool probes = true;  // the search accepts it
    bool opens = true;   // the player can open it
    std::string author, title, description;
};

SongSpec lasting(double seconds, std::string author = {}, std::string title = {},
                 std::string description = {});
SongSpec unopenable();   // found by the search, but the player can't open it
SongSpec unprobeable();  // the search leaves it out

// Songs by path, shared by the probes (search thread) and the player. Filled before a
// search starts; gated paths hold their probe inside Open until released.
class Catalogue {
  public:
    void add(const std::string& path, SongSpec spec = {});
    const SongSpec* find(const std::string& path) const;
    void gate(const std::string& path);
    void release(const std::string& path);
    void releaseAll();
    void waitAtGate(const std::string& path);
    // Probe lifecycle and opens, in order ("create", "open:<path>", "destroy").
    std::vector<std::string> probeLog();
    void log(const std::string& line);
    // Waits (at most 10 s) until `line` is in the probe log.
    bool waitForLog(const std::string& line);
    SongProbeFactory probeFactory();

  private:
    std::map<std::string, SongSpec> songs_;
    std::mutex lock_;
    std::condition_variable released_;
    std::set<std::string> gated_;
    std::vector<std::string> probeLog_;
};

class FakePlayer : public Player {
  public:
    FakePlayer(const Catalogue& catalogue, const std::int64_t& nowMs)
        : catalogue_(catalogue), nowMs_(nowMs) {}

    enum State { None, Stopped, Paused, Running };
    struct Start {
        std::string path;
        std::int64_t atMs;
    };

    int Open(const std::string& file, bool withNullRenderer) override;
    int GetContentText(int kind, std::string& text) override;
    void setReportPath(const std::string& file) override { reportPath = file; }
    void setEffects(EffectCatalogue* e) override { effects = e; }
    std::string GetErrorText(std::size_t) override { return "no such file"; }
    double GetDuration() override { return spec_ ? spec_->duration : 0; }
    double GetCurrentPosition() override { return position_; }
    void SetNotifyWindow(GraphNotifyFn notify) override { notify_ = std::move(notify); }
    int SetStopTime(double seconds) override;
    int Run(const char* caption) override;
    int Pause() override;
    int Stop() override;
    bool CanRun() const override { return state == Stopped || state == Paused; }
    bool CanPause() const override { return state == Running || state == Stopped; }
    bool CanStop() const override { return state == Running || state == Paused; }
    int Seek(double seconds, bool absolute) override;
    int PollEvent() override;

    // Milliseconds until the running song reaches its end, or -1.
    std::int64_t msToEnd() const;
    // Moves the song on by `ms` of playing time; at its end, the graph posts its event.
    void play(std::int64_t ms);

    State state = None;
    std::string path;
    std::string reportPath;
    EffectCatalogue* effects = nullptr;
    double stopTime = 0;           // 0 = none
    std::vector<Start> starts;     // every Run from the start of a song
    std::vector<std::string> log;  // "open:p", "run", "pause", "stop", "seek:s", "stoptime:s"

  private:
    const Catalogue& catalogue_;
    const std::int64_t& nowMs_;
    const SongSpec* spec_ = nullptr;
    double position_ = 0;
    bool ended_ = false;
    int pendingEvent_ = 0;
    GraphNotifyFn notify_;
};

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
    void pumpEvents() override;
    void postGraphNotify() override;
    void sendSearchDone(int result) override;

    // Handles SearchDone sends the search thread waits on; waits up to `waitMs` for one.
    void handleSends(int waitMs);
    // Takes the next posted message: false when none.
    bool takePosted(PlayerMessage& message, int& index);

    PlaySequencer* sequencer = nullptr;
    std::function<void()> onPump;  // lets a test act while the sequencer waits
    int pumps = 0;

    std::string status, sliderText;
    int sliderResets = 0, itemCount = -1, iconified = 0, sliderRedraws = 0;
    int songListShownAt = -99, beeps = 0, handBacks = 0, exitsPosted = 0;
    std::vector<std::string> messages, trayTips;
    int searchDoneHandled = 0;

  private:
    std::mutex lock_;
    std::condition_variable changed_;
    std::deque<std::pair<PlayerMessage, int>> posted_;
    std::deque<int> sends_;
    int sendsTaken_ = 0;
    int sendsDone_ = 0;
};

// Everything a session needs, wired as the player window wires it.
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
    // Songs started from their beginning, in order (names for songs of songs()).
    std::vector<std::string> played() const;
    bool ended() const { return !sequencer.inSession(); }

    std::int64_t nowMs = 0;
    Catalogue catalogue;
    SongList list;
    SongSearcher searcher;
    FakePlayer player;
    FakeTimers timers;
    FakeView view;
    AppSettings settings;
    RandGenerator random;
    int lastSliderPosition = -1;
    PlaySequencer sequencer;

  private:
    void deliverPosted();
};

}  // namespace seqtest
