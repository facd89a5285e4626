// End to end: a play session with the real sequencer, the real searcher with its media
// probe and the real media graph over generated songs, on a small event loop of real
// timers and queued calls, as the player window drives it.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
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
#include "support/fake_view.h"
#include "support/temp_dir.h"
#include "support/test_media.h"

namespace {

using Clock = std::chrono::steady_clock;

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
          sequencer(graph, searcher, list, timers, view, settings, random, loop) {}
    ~SessionRig() { sequencer.shutdown(); }

    // The window's loop on the real clock: queued calls, posted songs, timers due.
    void run(const std::string& folder) {
        const auto start = Clock::now();
        ASSERT_EQ(sequencer.startSession(folder, Folder), 0);
        while (view.handBacks == 0 && Clock::now() - start < std::chrono::seconds(30)) {
            nowMs =
                std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
            loop.serve();
            for (int index = 0; view.takePosted(index);)
                sequencer.onPlayIndex(index);
            TimerId id{};
            std::int64_t at = 0;
            if (timers.next(id, at) && at <= nowMs) {
                timers.fired(id);
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

    std::int64_t nowMs = 0;
    OwnerLoop loop{{}};  // served by run()
    testsupport::FakeTimers timers{nowMs};
    testsupport::FakeView view;
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

    EXPECT_TRUE(rig.view.handBacks > 0);
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
        EXPECT_TRUE(rig.view.handBacks > 0);
        ASSERT_EQ(rig.graph.plays.size(), 3u);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(rig.graph.plays[i].ends, 1) << "song " << i;
    }
    setenv("VORN_AUDIO_SINK", restore.c_str(), 1);
    EXPECT_EQ(testsupport::countOf(testsupport::readFile(report), std::string(70, '-')), 3);
}
