// End to end: a play session with the real sequencer, the real searcher with its media
// probe and the real media graph over generated songs, on a small event loop of real
// timers and queued calls, as the player window drives it.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

#include "app/core/app_settings.h"
#include "app/gst/gst_init.h"
#include "playback/core/owner_loop.h"
#include "playback/core/play_sequencer.h"
#include "playback/gst/media_graph.h"
#include "playback/gst/media_probe.h"
#include "songlist/core/song_list.h"
#include "songlist/core/song_searcher.h"
#include "support/temp_dir.h"
#include "support/test_media.h"

namespace {

using Clock = std::chrono::steady_clock;

class LoopTimers : public SequencerTimers {
  public:
    void startTimer(TimerId id, int periodMs) override {
        timers_[id] = {std::chrono::milliseconds(periodMs),
                       Clock::now() + std::chrono::milliseconds(periodMs)};
    }
    void killTimer(TimerId id) override { timers_.erase(id); }
    // The timers due now, each restarted for its next period.
    std::vector<TimerId> due() {
        std::vector<TimerId> ids;
        for (auto& [id, timer] : timers_) {
            if (Clock::now() >= timer.next) {
                ids.push_back(id);
                timer.next = Clock::now() + timer.period;
            }
        }
        return ids;
    }

  private:
    struct Timer {
        std::chrono::milliseconds period;
        Clock::time_point next;
    };
    std::map<TimerId, Timer> timers_;
};

class LoopView : public PlayerView {
  public:
    explicit LoopView(OwnerLoop& loop) : loop_(loop) {}
    PlaySequencer* sequencer = nullptr;
    bool handedBack = false;
    std::vector<std::string> messages;

    void setStatusText(const std::string&) override {}
    void setSliderText(const std::string&) override {}
    void resetSlider() override {}
    void refreshItemCount(int) override {}
    void showMessage(const std::string& text) override { messages.push_back(text); }
    void setTrayTip(const std::string&) override {}
    void iconify() override {}
    void redrawSlider() override {}
    void showSongList(int) override {}
    void soundExclamation() override {}
    void postPlayIndex(int index) override {
        loop_.post([this, index] { sequencer->onPlayIndex(index); });
    }
    void handBackToMainBar() override { handedBack = true; }
    void postExitToMainBar() override {}

  private:
    OwnerLoop& loop_;
};

// The real graph, noting when each song starts running and when it ends.
class WatchedGraph : public MediaGraph {
  public:
    struct Play {
        std::string path;
        Clock::time_point started;
        Clock::time_point ended;
        int ends = 0;  // end events taken for this play
    };
    std::vector<Play> plays;

    int Open(const std::string& path, bool withNullRenderer) override {
        plays.push_back({path, {}, {}});
        return MediaGraph::Open(path, withNullRenderer);
    }
    int Run(const char* caption) override {
        int result = MediaGraph::Run(caption);
        if (result == 0 && !plays.empty() && plays.back().started == Clock::time_point{})
            plays.back().started = Clock::now();
        return result;
    }
    int PollEvent() override {
        int event = MediaGraph::PollEvent();
        if (event >= 1 && event <= 3 && !plays.empty()) {
            plays.back().ended = Clock::now();
            ++plays.back().ends;
        }
        // The next song followed without a gap: it plays from now, never opened alone.
        if (event >= 1 && event <= 3 && nextJoined())
            plays.push_back({songPath(), Clock::now(), {}});
        return event;
    }
};

// One session over a folder with the real sequencer, searcher, probe and graph, on the
// test's own loop, until the sequencer hands back to the main bar or 30 s pass.
struct SessionRig {
    explicit SessionRig(AppSettings& settings)
        : searcher(list, makeMediaProbeFactory()),
          sequencer(graph, searcher, list, timers, view, settings, random, loop) {
        view.sequencer = &sequencer;
    }
    ~SessionRig() { sequencer.shutdown(); }

    void run(const std::string& folder) {
        auto start = Clock::now();
        ASSERT_EQ(sequencer.startSession(folder, Folder), 0);
        while (!view.handedBack && Clock::now() - start < std::chrono::seconds(30)) {
            loop.serve();
            for (TimerId id : timers.due()) {
                if (id == TimerId::AdvanceTimer)
                    sequencer.onAdvanceTimer();
                if (id == TimerId::PositionTimer)
                    sequencer.onPositionTimer();
                if (id == TimerId::ResumeTimer)
                    sequencer.onResumeTimer();
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        sequencer.shutdown();
    }

    OwnerLoop loop{{}};  // served by run()
    LoopTimers timers;
    LoopView view{loop};
    SongList list;
    SongSearcher searcher;
    WatchedGraph graph;
    RandGenerator random{1};
    PlaySequencer sequencer;
};

class MediaSession : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        setenv("VORN_AUDIO_SINK", "fakesink sync=true", 0);
        ensureGstInitialised();
    }
    testsupport::TempDir dir;
};

}  // namespace

TEST_F(MediaSession, ThreeSongsPlayInOrderCutByTheDemoTime) {
    // The demo time is whole seconds: 5-second songs cut after 1 second. The songs are
    // long enough that a cut is told apart from their end even on a loaded machine.
    testsupport::makeWav(dir.path(), "1.wav", 5.0, {"A", "One", ""});
    testsupport::makeMp3(dir.path(), "2.mp3", 5.0, {"B", "Two", ""});
    testsupport::makeAvi(dir.path(), "3.avi", 5.0, 5.0);
    AppSettings settings;
    settings.play.PlayTime = 1;
    SessionRig rig(settings);
    rig.run(dir.path());

    EXPECT_TRUE(rig.view.handedBack);
    EXPECT_FALSE(rig.sequencer.inSession());
    EXPECT_TRUE(rig.view.messages.empty());
    EXPECT_EQ(rig.list.count(), 3);
    ASSERT_EQ(rig.graph.plays.size(), 3u);
    const char* order[] = {"/1.wav", "/2.mp3", "/3.avi"};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(order[i]);
        const WatchedGraph::Play& play = rig.graph.plays[i];
        EXPECT_EQ(play.path, dir.path() + order[i]);
        ASSERT_NE(play.ended, Clock::time_point{});
        double played = std::chrono::duration<double>(play.ended - play.started).count();
        EXPECT_GT(played, 0.9);
        EXPECT_LT(played, 4.0);  // cut well before the 5 s end
    }
}

// A failing element posts its error, and each bin above it posts another: the song still
// ends once, so each of three songs is opened, played and reported once.
TEST_F(MediaSession, SongFailingMidwayEndsOnce) {
    for (const char* name : {"1.wav", "2.wav", "3.wav"})
        testsupport::makeWav(dir.path(), name, 3.0);
    std::string report = dir.file("graph.fil");
    AppSettings settings;
    settings.other.filter = report;
    const char* previousSink = std::getenv("VORN_AUDIO_SINK");
    std::string restore = previousSink ? previousSink : "";
    setenv("VORN_AUDIO_SINK", "identity error-after=40 ! fakesink sync=true", 1);
    {
        SessionRig rig(settings);
        rig.run(dir.path());
        EXPECT_TRUE(rig.view.handedBack);
        ASSERT_EQ(rig.graph.plays.size(), 3u);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(rig.graph.plays[i].ends, 1) << "song " << i;
    }
    setenv("VORN_AUDIO_SINK", restore.c_str(), 1);
    EXPECT_EQ(testsupport::countOf(testsupport::readFile(report), std::string(70, '-')), 3);
}
