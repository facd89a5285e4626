// How a song ends: once per play whatever its pipeline posts, at the demo stop time also
// when a seek jumps past it, and at the length its frames give when the file has no table
// of contents.
#include <gst/gst.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "media_graph_fixture.h"

using namespace testsupport;

namespace {

// Counts GStreamer's critical warnings while it lives.
class CriticalCounter {
  public:
    CriticalCounter() {
        handler_ =
            g_log_set_handler("GStreamer", G_LOG_LEVEL_CRITICAL, &CriticalCounter::note, this);
    }
    ~CriticalCounter() { g_log_remove_handler("GStreamer", handler_); }
    int count() const { return count_; }

  private:
    static void note(const gchar*, GLogLevelFlags, const gchar*, gpointer self) {
        ++static_cast<CriticalCounter*>(self)->count_;
    }
    guint handler_;
    int count_ = 0;
};

// Sets VORN_AUDIO_SINK for the pipelines built while it lives.
class AudioSinkOverride {
  public:
    explicit AudioSinkOverride(const char* description) {
        const char* previous = std::getenv("VORN_AUDIO_SINK");
        previous_ = previous ? previous : "";
        setenv("VORN_AUDIO_SINK", description, 1);
    }
    ~AudioSinkOverride() { setenv("VORN_AUDIO_SINK", previous_.c_str(), 1); }

  private:
    std::string previous_;
};

}  // namespace

// The element's error and the bins' errors after it are one end; a restart from the top
// is a new play, which can end again.
TEST_F(MediaGraphTest, FailureEndsThePlayOnceAndARestartPlaysAgain) {
    AudioSinkOverride failing("identity error-after=10 ! fakesink sync=true");
    MediaGraph graph;
    ASSERT_EQ(graph.Open(makeWav(dir.path(), "a.wav", 2.0), true), 0);
    ASSERT_EQ(graph.Run(nullptr), 0);
    EXPECT_EQ(waitForEvent(graph, 10.0), 3);
    EXPECT_NE(graph.GetErrorText(256), "");
    EXPECT_EQ(waitForEvent(graph, 1.0), 0);
    EXPECT_EQ(graph.pendingEvents(), 0u);

    // identity fails only once: played again from the start, the song reaches its end.
    ASSERT_EQ(graph.Pause(), 0);
    ASSERT_EQ(graph.Seek(0, true), 0);
    ASSERT_EQ(graph.Run(nullptr), 0);
    EXPECT_EQ(waitForEvent(graph, 10.0), 1);
}

// A failure posted before the user seeks or sets a stop time still ends the play, once.
TEST_F(MediaGraphTest, FailureBeforeASeekStillEndsThePlayOnce) {
    for (std::vector<double> moves : {std::vector{1.0, 0.5}, {-3.0}}) {  // < 0: a stop time
        MediaGraph graph;
        ASSERT_EQ(graph.Open(makeWav(dir.path(), "a.wav", 4.0), true), 0);
        ASSERT_EQ(graph.Run(nullptr), 0);
        GErrorPtr error(g_error_new_literal(GST_STREAM_ERROR, GST_STREAM_ERROR_DECODE, "bad"));
        gst_element_post_message(graph.pipeline(),
                                 gst_message_new_error(nullptr, error.get(), nullptr));
        for (double move : moves)
            EXPECT_EQ(move < 0 ? graph.SetStopTime(-move) : graph.Seek(move, true), 0);
        EXPECT_EQ(graph.PollEvent(), 3);
        EXPECT_EQ(graph.GetErrorText(256), "bad");
        EXPECT_EQ(waitForEvent(graph, 0.5), 0);
    }
}

TEST_F(MediaGraphTest, SeekAtOrPastTheStopTimeEndsTheSongAndOneBeforeItKeepsTheStop) {
    std::string wav = makeWav(dir.path(), "a.wav", 6.0);
    CriticalCounter criticals;
    MediaGraph graph;

    ASSERT_EQ(graph.Open(wav, true), 0);
    ASSERT_EQ(graph.SetStopTime(4.0), 0);
    ASSERT_EQ(graph.Run(nullptr), 0);
    Clock::time_point seeked = Clock::now();
    EXPECT_EQ(graph.Seek(4.5, true), 0);
    EXPECT_EQ(waitForEvent(graph, 10.0), 1);
    EXPECT_LT(secondsSince(seeked), 2.0);  // not after playing on to 4 s

    ASSERT_EQ(graph.Open(wav, true), 0);
    ASSERT_EQ(graph.SetStopTime(3.0), 0);
    ASSERT_EQ(graph.Run(nullptr), 0);
    EXPECT_EQ(graph.Seek(2.0, true), 0);
    EXPECT_NEAR(graph.GetCurrentPosition(), 2.0, 0.3);
    seeked = Clock::now();
    EXPECT_EQ(waitForEvent(graph, 10.0), 1);
    EXPECT_GT(secondsSince(seeked), 0.5);  // the second left to the stop was played...
    EXPECT_LT(secondsSince(seeked), 3.0);  // ...and not the three after it
    EXPECT_EQ(criticals.count(), 0);
}

// The first frames are noise at the highest bitrates and the rest a soft tone at low ones:
// an estimate from the first frames' bitrate is a fraction of the length.
TEST_F(MediaGraphTest, VariableBitrateMp3WithoutTableHasTheLengthOfItsFrames) {
    std::string mp3 = makeVbrMp3WithoutXing(dir.path(), "vbr.mp3", 0.5, 10.5);
    MediaGraph graph;
    ASSERT_EQ(graph.Open(mp3, true), 0);
    EXPECT_NEAR(graph.GetDuration(), 11.0, 0.1);
    // The stop time cuts it where asked.
    ASSERT_EQ(graph.SetStopTime(1.0), 0);
    ASSERT_EQ(graph.Run(nullptr), 0);
    EXPECT_EQ(waitForEvent(graph, 10.0), 1);
    EXPECT_NEAR(graph.GetCurrentPosition(), 1.0, 0.1);
    EXPECT_NEAR(graph.GetDuration(), 11.0, 0.1);
}
