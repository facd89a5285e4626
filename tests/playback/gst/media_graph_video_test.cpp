// Video files play for their sound alone through the discard renderer, never decoded, and
// the pipeline report describes what was built.
#include <gst/gst.h>

#include <fstream>
#include <sstream>

#include "media_graph_fixture.h"
#include "playback/gst/graph_report.h"

using namespace testsupport;

TEST_F(MediaGraphTest, VideoFilePlaysToTheEndOfItsSoundWithoutDecodingVideo) {
    MediaGraph graph;
    if (rendererMissing(graph))
        GTEST_SKIP() << "the Zarvex plug-in is not on the plug-in path";
    // The picture stops after 0.5 s; the song must still last as long as its sound.
    for (AviAudio audio : {AviAudio::Pcm, AviAudio::Mp3}) {
        std::string name = audio == AviAudio::Pcm ? "pcm.avi" : "mp3.avi";
        ASSERT_EQ(graph.Open(makeAvi(dir.path(), name, 0.5, 1.5, audio), true), 0) << name;
        EXPECT_FALSE(hasVideoDecoder(graph.pipeline())) << name;
        GstElement* renderer = gst_bin_get_by_name(GST_BIN(graph.pipeline()), "NULL Video (tavik)");
        ASSERT_NE(renderer, nullptr);
        GstPad* sink = gst_element_get_static_pad(renderer, "sink");
        EXPECT_TRUE(gst_pad_is_linked(sink));
        gst_object_unref(sink);
        gst_object_unref(renderer);
        EXPECT_NEAR(graph.GetDuration(), 1.5, 0.1);
        auto start = Clock::now();
        ASSERT_EQ(graph.Run(name.c_str()), 0);
        EXPECT_EQ(waitForEvent(graph, 5.0), 1) << name;
        EXPECT_GT(secondsSince(start), 1.3) << name;
    }
}

TEST_F(MediaGraphTest, LongerPictureHoldsTheEndUntilItIsShown) {
    MediaGraph graph;
    if (rendererMissing(graph))
        GTEST_SKIP() << "the Zarvex plug-in is not on the plug-in path";
    ASSERT_EQ(graph.Open(makeAvi(dir.path(), "long-video.avi", 1.2, 0.4), true), 0);
    auto start = Clock::now();
    ASSERT_EQ(graph.Run(nullptr), 0);
    EXPECT_EQ(waitForEvent(graph, 5.0), 1);
    // The renderer consumes frames at presentation pace, so the end comes with the picture's.
    EXPECT_GT(secondsSince(start), 1.0);
}

TEST_F(MediaGraphTest, AudioOnlySongEndsThoughTheRendererStaysUnlinked) {
    MediaGraph graph;
    if (rendererMissing(graph))
        GTEST_SKIP() << "the Zarvex plug-in is not on the plug-in path";
    ASSERT_EQ(graph.Open(makeWav(dir.path(), "a.wav", 0.3), true), 0);
    ASSERT_EQ(graph.Run(nullptr), 0);
    EXPECT_EQ(waitForEvent(graph, 5.0), 1);
}

TEST_F(MediaGraphTest, ReportBlockPerOpenOnlyWhenAPathWasSet) {
    MediaGraph graph;
    if (rendererMissing(graph))
        GTEST_SKIP() << "the Zarvex plug-in is not on the plug-in path";
    std::string report = dir.file("graph.fil");
    std::string avi = makeAvi(dir.path(), "v.avi", 0.5, 0.5);
    graph.setReportPath(report);
    ASSERT_EQ(graph.Open(avi, true), 0);
    EXPECT_EQ(graph.reportPath(), "");
    ASSERT_EQ(graph.Open(avi, true), 0);  // no path this time: no block
    graph.setReportPath(report);
    ASSERT_EQ(graph.Open(makeWav(dir.path(), "a.wav", 0.3), true), 0);

    std::string text = readFile(report);
    EXPECT_EQ(countOf(text, std::string(70, '-') + "\r\n"), 2);
    EXPECT_EQ(countOf(text, "\n"), countOf(text, "\r\n"));  // every line ends in CR LF
    // The first block: the renderer linked with the picture's size; numbering past 9.
    std::string first = text.substr(0, text.find(std::string(70, '-'), 1));
    EXPECT_NE(
        first.find("]:NULL Video (tavik)\r\n    =>sink\r\n    - image\r\n    - image/jpeg\r\n"),
        std::string::npos);
    EXPECT_NE(first.find(" [320:240]\r\n"), std::string::npos);
    EXPECT_NE(first.find("\r\n[10]:"), std::string::npos);
    EXPECT_NE(first.find("\r\n[ 9]:"), std::string::npos);
    EXPECT_NE(first.find("avidemux"), std::string::npos);  // inside uridecodebin
    EXPECT_NE(first.find("    <=src\r\n    - audio\r\n    - audio/x-raw\r\n"), std::string::npos);
    // The second block has the renderer too, unlinked, offering nothing specific.
    std::string second = text.substr(text.find(std::string(70, '-'), 1));
    EXPECT_NE(second.find("]:NULL Video (tavik)\r\n    =>sink\r\n"), std::string::npos);
}

// Parsers that pull their data get no caps on their input: the report shows what the link
// carries, not the last type the parser could take.
TEST_F(MediaGraphTest, ReportShowsTheMediaOfLinksThatPull) {
    MediaGraph graph;
    std::string report = dir.file("graph.fil");
    graph.setReportPath(report);
    ASSERT_EQ(graph.Open(makeWav(dir.path(), "a.wav", 0.3), true), 0);
    graph.setReportPath(report);
    ASSERT_EQ(graph.Open(makeMp3(dir.path(), "b.mp3", 0.3, {"A", "B", ""}), true), 0);

    std::string text = readFile(report);
    auto element = [&](const std::string& name) {
        std::size_t at = text.find("]:" + name);
        return at == std::string::npos ? "" : text.substr(at, text.find("\r\n[", at) - at);
    };
    std::string wavparse = element("wavparse");
    EXPECT_NE(wavparse.find("=>sink\r\n    - audio\r\n    - audio/x-wav\r\n"), std::string::npos)
        << wavparse;
    std::string id3demux = element("id3demux");
    EXPECT_NE(id3demux.find("=>sink\r\n    - application\r\n    - application/x-id3\r\n"),
              std::string::npos)
        << id3demux;
    EXPECT_NE(id3demux.find("<=src\r\n    - audio\r\n    - audio/mpeg\r\n"), std::string::npos)
        << id3demux;
}

TEST_F(MediaGraphTest, UnopenableReportPathWritesNothingAndOpenSucceeds) {
    MediaGraph graph;
    std::string bad = dir.file("no-such-folder/graph.fil");
    graph.setReportPath(bad);
    ASSERT_EQ(graph.Open(makeWav(dir.path(), "a.wav", 0.3), true), 0);
    EXPECT_EQ(graph.reportPath(), "");
    EXPECT_FALSE(std::ifstream(bad).good());
    EXPECT_EQ(graph.LastResult(), 0);
}

TEST_F(MediaGraphTest, FailedOpenWritesNoReportAndKeepsThePath) {
    MediaGraph graph;
    std::string report = dir.file("graph.fil");
    graph.setReportPath(report);
    EXPECT_EQ(graph.Open(makeEmptyFile(dir.path(), "e.wav"), true), -1);
    EXPECT_FALSE(std::ifstream(report).good());
    EXPECT_EQ(graph.reportPath(), report);
}

TEST(GraphReportCaps, TypeTextsOfCaps) {
    ensureGstInitialised();
    GstCaps* video = gst_caps_from_string("video/x-raw,format=I420,width=320,height=240");
    PadRecord record = describeCaps(video);
    EXPECT_EQ(record.major, "video");
    EXPECT_EQ(record.subtype, "video/x-raw");
    EXPECT_EQ(record.format, "format=(string)I420, width=(int)320, height=(int)240");
    EXPECT_EQ(record.pictureSize, " [320:240]");
    gst_caps_unref(video);
    GstCaps* any = gst_caps_new_any();
    record = describeCaps(any);
    EXPECT_EQ(record.major + record.subtype + record.format, "");
    gst_caps_unref(any);
    GstCaps* bare = gst_caps_from_string("audio/mpeg");
    record = describeCaps(bare);
    EXPECT_EQ(record.subtype, "audio/mpeg");
    EXPECT_EQ(record.format, "");
    gst_caps_unref(bare);
}
