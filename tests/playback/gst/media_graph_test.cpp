// The media graph over real pipelines: states and their guards, times, tags, events and
// the files that must fail cleanly.
#include <gst/gst.h>

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>

#include "media_graph_fixture.h"
#include "playback/core/media_time.h"
#include "playback/core/result_codes.h"

using namespace testsupport;

TEST_F(MediaGraphTest, WithoutGraphTimesAndEventsReportNoGraph) {
    MediaGraph graph;
    EXPECT_EQ(graph.state(), GraphState::None);
    EXPECT_EQ(graph.GetDuration(), -100.0);
    EXPECT_EQ(graph.GetCurrentPosition(), -100.0);
    EXPECT_EQ(graph.SetStopTime(1.0), -100);
    EXPECT_EQ(graph.Seek(1.0, true), -100);
    EXPECT_EQ(graph.PollEvent(), -1);
    EXPECT_EQ(graph.EventHandle(), nullptr);
    std::string text = "kept";
    EXPECT_EQ(graph.GetContentText(1, text), -2);
    EXPECT_EQ(text, "kept");
    EXPECT_EQ(graph.Close(), 0);
    EXPECT_EQ(graph.state(), GraphState::Empty);
}

TEST_F(MediaGraphTest, StopTimeIsTruncatedTo100NanosecondUnits) {
    EXPECT_EQ(secondsToMediaUnits(12.34567891), 123456789);
    EXPECT_EQ(secondsToMediaUnits(-0.00000019), -1);  // toward zero, not down
    EXPECT_EQ(mediaUnitsToNanoseconds(123456789), 12345678900);
    EXPECT_EQ(nanosecondsToMediaUnits(199), 1);

    MediaGraph graph;
    ASSERT_EQ(graph.Open(makeWav(dir.path(), "a.wav", 0.3), true), 0);
    EXPECT_EQ(graph.SetStopTime(12.34567891), 0);
    EXPECT_EQ(graph.stopTimeUnits(), 123456789);
}

TEST_F(MediaGraphTest, StateGuards) {
    MediaGraph graph;
    ASSERT_EQ(graph.Open(makeWav(dir.path(), "a.wav", 2.0), true), 0);
    EXPECT_EQ(graph.state(), GraphState::Stopped);
    EXPECT_EQ(graph.Stop(), 1);  // Stopped can't stop
    EXPECT_EQ(graph.Pause(), 0);
    EXPECT_EQ(graph.state(), GraphState::Paused);
    EXPECT_EQ(graph.Pause(), 1);
    EXPECT_EQ(graph.Run(nullptr), 0);
    EXPECT_EQ(graph.state(), GraphState::Running);
    EXPECT_EQ(graph.Run(nullptr), 1);
    EXPECT_EQ(graph.Stop(), 0);
    EXPECT_EQ(graph.state(), GraphState::Stopped);
    EXPECT_EQ(graph.Close(), 0);
    EXPECT_EQ(graph.state(), GraphState::Empty);
    EXPECT_EQ(graph.Run(nullptr), 1);
    EXPECT_EQ(graph.PollEvent(), 0);  // a closed graph still exists
}

TEST_F(MediaGraphTest, FailedOpenKeepsEmptySoRunIsRefused) {
    MediaGraph graph;
    ASSERT_EQ(graph.Open(makeWav(dir.path(), "a.wav", 0.5), true), 0);
    EXPECT_EQ(graph.Open(dir.file("missing.wav"), true), -1);
    EXPECT_EQ(graph.state(), GraphState::Empty);
    EXPECT_EQ(graph.Run(nullptr), 1);
    EXPECT_EQ(graph.LastResult(), result::kFileNotFound);
    EXPECT_FALSE(graph.GetErrorText(256).empty());
    // And the next song opens again.
    EXPECT_EQ(graph.Open(dir.file("a.wav"), true), 0);
    EXPECT_EQ(graph.LastResult(), 0);
    EXPECT_EQ(graph.GetErrorText(256), "");
}

TEST_F(MediaGraphTest, DamagedFilesFailCleanlyWithAReason) {
    std::string wav = makeWav(dir.path(), "good.wav", 1.0);
    std::string mp3 = makeMp3(dir.path(), "good.mp3", 1.0);
    struct Case {
        std::string path;
        std::int32_t code;
    };
    std::string unreadable = makeWav(dir.path(), "locked.wav", 0.2);
    std::filesystem::permissions(unreadable, std::filesystem::perms::none);
    bool rootReads = std::ifstream(unreadable).good();
    std::vector<Case> cases = {
        {dir.file("missing.mp3"), result::kFileNotFound},
        {makeEmptyFile(dir.path(), "empty.mp3"), 0},
        {makeRandomBytes(dir.path(), "noise.mp3", 20000), 0},
        {makeTruncatedCopy(wav, dir.path(), "cut-header.wav", 30), 0},
        {makeTruncatedCopy(mp3, dir.path(), "cut-tag.mp3", 20), 0},
        {dir.path(), 0},  // a folder
    };
    if (!rootReads)
        cases.push_back({unreadable, result::kAccessDenied});
    MediaGraph graph(MediaGraph::Mode::Probe);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        auto start = Clock::now();
        EXPECT_EQ(graph.Open(c.path, true), -1);
        EXPECT_LT(secondsSince(start), 5.0);
        EXPECT_EQ(graph.state(), GraphState::Empty);
        EXPECT_LT(graph.LastResult(), 0);
        if (c.code != 0) {
            EXPECT_EQ(graph.LastResult(), c.code);
        }
        EXPECT_FALSE(graph.GetErrorText(256).empty());
        std::string text = "kept";
        EXPECT_EQ(graph.GetContentText(1, text), -2);
    }
}

TEST_F(MediaGraphTest, FileCutInTheMiddlePlaysWhatItHolds) {
    std::string mp3 = makeMp3(dir.path(), "whole.mp3", 2.0);
    std::string cut =
        makeTruncatedCopy(mp3, dir.path(), "half.mp3", std::filesystem::file_size(mp3) / 2);
    MediaGraph graph;
    ASSERT_EQ(graph.Open(cut, true), 0);
    ASSERT_EQ(graph.Run(nullptr), 0);
    EXPECT_EQ(waitForEvent(graph, 5.0), 1);
}

TEST_F(MediaGraphTest, VideoOnlyFileIsNoSong) {
    MediaGraph graph(MediaGraph::Mode::Probe);
    std::string video = makeVideoOnly(dir.path(), "silent.avi", 1.0);
    auto start = Clock::now();
    EXPECT_EQ(graph.Open(video, true), -1);
    EXPECT_LT(secondsSince(start), 5.0);
    EXPECT_EQ(graph.LastResult(), result::kCannotRender);
    EXPECT_EQ(graph.GetErrorText(256), "The file has no audio stream that can be played.");
    EXPECT_EQ(graph.GetErrorText(10), "The file");  // 8 bytes and room for the end
}

TEST_F(MediaGraphTest, ContentTextsComeFromTags) {
    MediaGraph graph(MediaGraph::Mode::Probe);
    std::string text;
    ASSERT_EQ(graph.Open(makeWav(dir.path(), "t.wav", 0.3, {"Wav Artist", "Wav Title", "Wav Note"}),
                         true),
              0);
    EXPECT_EQ(graph.GetContentText(1, text), 0);
    EXPECT_EQ(text, "Wav Artist");
    EXPECT_EQ(graph.GetContentText(2, text), 0);
    EXPECT_EQ(text, "Wav Title");
    EXPECT_EQ(graph.GetContentText(3, text), 0);
    EXPECT_EQ(text, "Wav Note");
    EXPECT_EQ(graph.GetContentText(4, text), -2);
    EXPECT_EQ(graph.GetContentText(0, text), -2);

    std::string longTitle = "曲名" + std::string(300, 'x');
    ASSERT_EQ(
        graph.Open(makeMp3(dir.path(), "t.mp3", 0.5, {"作者", longTitle, "Mp3 comment"}), true), 0);
    EXPECT_EQ(graph.GetContentText(1, text), 0);
    EXPECT_EQ(text, "作者");
    EXPECT_EQ(graph.GetContentText(2, text), 0);
    EXPECT_EQ(text, longTitle.substr(0, 255));  // fits a 256-byte buffer
    EXPECT_EQ(graph.GetContentText(3, text), 0);
    EXPECT_EQ(text, "Mp3 comment");
}

TEST_F(MediaGraphTest, FileWithoutTagsHasNoContent) {
    MediaGraph graph(MediaGraph::Mode::Probe);
    ASSERT_EQ(graph.Open(makeWav(dir.path(), "plain.wav", 0.3), true), 0);
    std::string text = "kept";
    EXPECT_EQ(graph.GetContentText(1, text), -2);
    EXPECT_EQ(graph.GetContentText(2, text), -2);
    EXPECT_EQ(text, "kept");
}

TEST_F(MediaGraphTest, OddFileNamesOpen) {
    MediaGraph graph(MediaGraph::Mode::Probe);
    EXPECT_EQ(graph.Open(makeWav(dir.path(), "名前 #1 %20?.wav", 0.2), true), 0);
    EXPECT_EQ(graph.Open(makeWav(dir.path(), "raw\xff\xfe bytes.wav", 0.2), true), 0);
}

TEST_F(MediaGraphTest, DurationsOfWavMp3AndCbrMp3WithoutXing) {
    MediaGraph graph(MediaGraph::Mode::Probe);
    ASSERT_EQ(graph.Open(makeWav(dir.path(), "d.wav", 2.5), true), 0);
    EXPECT_NEAR(graph.GetDuration(), 2.5, 0.01);
    ASSERT_EQ(graph.Open(makeMp3(dir.path(), "d.mp3", 3.0), true), 0);
    EXPECT_NEAR(graph.GetDuration(), 3.0, 0.1);
    std::string cbr = makeCbrMp3WithoutXing(dir.path(), "cbr.mp3", 4.0, {"A", "T", ""});
    ASSERT_EQ(graph.Open(cbr, true), 0);
    EXPECT_NEAR(graph.GetDuration(), 4.0, 0.15);
    EXPECT_NEAR(graph.GetCurrentPosition(), 0.0, 0.01);
}

TEST_F(MediaGraphTest, SeekMovesThePosition) {
    MediaGraph graph;
    ASSERT_EQ(graph.Open(makeWav(dir.path(), "s.wav", 3.0), true), 0);
    EXPECT_EQ(graph.Seek(1.5, true), 0);
    EXPECT_NEAR(graph.GetCurrentPosition(), 1.5, 0.05);
    EXPECT_EQ(graph.Seek(-0.5, false), 0);
    EXPECT_NEAR(graph.GetCurrentPosition(), 1.0, 0.05);
}

TEST_F(MediaGraphTest, DemoStopTimeEndsTheSongWithEndOfStream) {
    MediaGraph graph;
    for (std::string name : {"long.wav", "long.mp3", "long.avi"}) {
        SCOPED_TRACE(name);
        std::string path = name == "long.wav"   ? makeWav(dir.path(), name, 5.0)
                           : name == "long.mp3" ? makeMp3(dir.path(), name, 5.0)
                                                : makeAvi(dir.path(), name, 5.0, 5.0);
        ASSERT_EQ(graph.Open(path, true), 0);
        ASSERT_EQ(graph.SetStopTime(0.8), 0);
        auto start = Clock::now();
        ASSERT_EQ(graph.Run("caption"), 0);
        EXPECT_EQ(waitForEvent(graph, 4.0), 1);
        double took = secondsSince(start);
        EXPECT_GT(took, 0.6);
        EXPECT_LT(took, 3.5);  // well before the 5 s end, with room for slow (sanitizer) builds
        EXPECT_EQ(graph.state(), GraphState::Running);  // the owner decides what comes next
        // Repeat: back to the start, and the stop time still holds.
        EXPECT_EQ(graph.Pause(), 0);
        EXPECT_EQ(graph.Seek(0, true), 0);
        EXPECT_EQ(graph.Run(nullptr), 0);
        EXPECT_EQ(waitForEvent(graph, 4.0), 1);
    }
}

TEST_F(MediaGraphTest, PollEventConsumesOtherMessagesAndNeverHoldsUpTheEnd) {
    MediaGraph graph;
    ASSERT_EQ(graph.Open(makeWav(dir.path(), "e.wav", 0.3), true), 0);
    GstBus* bus = graph.EventHandle();
    ASSERT_NE(bus, nullptr);
    auto post = [&] {
        gst_bus_post(bus, gst_message_new_application(
                              nullptr, gst_structure_new_empty("vorn-test-message")));
    };
    post();
    EXPECT_EQ(graph.pendingEvents(), 1u);
    EXPECT_EQ(graph.PollEvent(), 0);
    EXPECT_EQ(graph.pendingEvents(), 0u);
    EXPECT_EQ(graph.PollEvent(), 0);

    // Messages nobody takes are never queued.
    gst_bus_post(bus, gst_message_new_info(nullptr, nullptr, "info"));
    EXPECT_EQ(graph.pendingEvents(), 0u);

    post();
    ASSERT_EQ(graph.Run(nullptr), 0);
    while (graph.pendingEvents() < 2)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(graph.PollEvent(), 1);  // the end first, though queued after the other
    EXPECT_EQ(graph.PollEvent(), 0);
}

TEST_F(MediaGraphTest, ErrorWhilePlayingIsEvent3WithItsText) {
    MediaGraph graph;
    ASSERT_EQ(graph.Open(makeWav(dir.path(), "e.wav", 2.0), true), 0);
    ASSERT_EQ(graph.Run(nullptr), 0);
    GError* error = g_error_new_literal(GST_STREAM_ERROR, GST_STREAM_ERROR_DECODE, "broken frame");
    gst_bus_post(graph.EventHandle(), gst_message_new_error(nullptr, error, nullptr));
    g_error_free(error);
    EXPECT_EQ(graph.PollEvent(), 3);
    EXPECT_EQ(graph.LastResult(), result::kInvalidFileFormat);
    EXPECT_EQ(graph.GetErrorText(256), "broken frame");
}

TEST_F(MediaGraphTest, NotificationReachesAWaitingThreadOncePerEnd) {
    MediaGraph graph;
    std::string song = makeWav(dir.path(), "n.wav", 0.3);
    std::mutex mutex;
    std::condition_variable posted;
    int notifications = 0;
    for (int round = 1; round <= 2; ++round) {
        ASSERT_EQ(graph.Open(song, true), 0);
        graph.SetNotifyWindow([&] {
            {
                std::lock_guard lock(mutex);
                ++notifications;
            }
            posted.notify_all();
        });
        ASSERT_EQ(graph.Run(nullptr), 0);
        // The owner's thread: one PollEvent per notification, as the player does.
        std::thread owner([&] {
            std::unique_lock lock(mutex);
            ASSERT_TRUE(posted.wait_for(lock, std::chrono::seconds(5),
                                        [&] { return notifications == round; }));
            lock.unlock();
            EXPECT_EQ(graph.PollEvent(), 1);
        });
        owner.join();
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        std::lock_guard lock(mutex);
        EXPECT_EQ(notifications, round);  // once for the end, nothing else while playing
    }
    graph.Close();
}

TEST_F(MediaGraphTest, ProbeFactoryMakesAProbe) {
    MediaGraph graph(MediaGraph::Mode::Probe);
    ASSERT_EQ(graph.Open(makeWav(dir.path(), "p.wav", 0.2), true), 0);
    GstElement* sink = gst_bin_get_by_name(GST_BIN(graph.pipeline()), "probe-audio-sink");
    EXPECT_NE(sink, nullptr);
    if (sink)
        gst_object_unref(sink);
}
