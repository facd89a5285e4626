// The discard renderer as any GStreamer application sees it, found on the plug-in path.
#include <gst/video/videooverlay.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <memory>

#include "app/gst/gst_init.h"
#include "gst_test_support.h"
#include "support/temp_dir.h"

namespace {

using zarvex_test::parsePipeline;
using zarvex_test::playToEnd;
using zarvex_test::runDescription;

constexpr const char* kClassId = "{0885E0A0-3823-11D5-8A69-0050DA994517}";

class DiscardRendererTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ensureGstInitialised(); }
};

GstObjectPtr<GstElementFactory> findFactory() {
    return GstObjectPtr<GstElementFactory>(gst_element_factory_find("zarvexsink"));
}

std::string runCommand(const std::string& command) {
    std::string output;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe)
        return output;
    std::array<char, 4096> chunk{};
    size_t count = 0;
    while ((count = fread(chunk.data(), 1, chunk.size(), pipe.get())) > 0) {
        output.append(chunk.data(), count);
    }
    return output;
}

bool padAccepts(GstElement* element, const char* caps) {
    GstPadPtr pad(gst_element_get_static_pad(element, "sink"));
    GstCapsPtr parsed(gst_caps_from_string(caps));
    return gst_pad_query_accept_caps(pad.get(), parsed.get());
}

TEST_F(DiscardRendererTest, FactoryCarriesIdentityAndVersionData) {
    auto factory = findFactory();
    ASSERT_TRUE(factory) << "zarvexsink not found on GST_PLUGIN_PATH";
    EXPECT_STREQ(gst_element_factory_get_metadata(factory.get(), GST_ELEMENT_METADATA_LONGNAME),
                 "Zarvex Renderer");
    EXPECT_STREQ(gst_element_factory_get_metadata(factory.get(), GST_ELEMENT_METADATA_KLASS),
                 "Sink/Video");
    EXPECT_STREQ(gst_element_factory_get_metadata(factory.get(), "vorn-class-id"), kClassId);
    EXPECT_EQ(gst_plugin_feature_get_rank(GST_PLUGIN_FEATURE(factory.get())), GST_RANK_NONE);

    GstObjectPtr<GstPlugin> plugin(
        gst_plugin_feature_get_plugin(GST_PLUGIN_FEATURE(factory.get())));
    ASSERT_TRUE(plugin);
    EXPECT_STREQ(gst_plugin_get_name(plugin.get()), "zarvex");
    EXPECT_STREQ(gst_plugin_get_version(plugin.get()), "1.2");
    EXPECT_STREQ(gst_plugin_get_description(plugin.get()), "Null Video Renderer");
    EXPECT_STREQ(gst_plugin_get_package(plugin.get()), "vorn");
}

TEST_F(DiscardRendererTest, GstInspectListsThePlugin) {
    const std::string output = runCommand("gst-inspect-1.0 zarvex 2>&1");
    EXPECT_NE(output.find("Zarvex Renderer"), std::string::npos) << output;
    EXPECT_NE(output.find("zarvexsink"), std::string::npos) << output;
    EXPECT_NE(output.find("1.2"), std::string::npos) << output;
}

TEST_F(DiscardRendererTest, AcceptsAnyVideoAndRefusesOtherMedia) {
    GstElementPtr sink(gst_element_factory_make("zarvexsink", nullptr));
    ASSERT_TRUE(sink);
    gst_object_ref_sink(sink.get());
    EXPECT_TRUE(padAccepts(sink.get(), "video/x-raw,format=I420,width=64,height=48"));
    EXPECT_TRUE(padAccepts(sink.get(), "video/x-h264,stream-format=avc"));
    EXPECT_TRUE(padAccepts(sink.get(), "video/x-divx,divxversion=5"));
    EXPECT_TRUE(padAccepts(sink.get(), "image/jpeg,width=640,height=480"));
    EXPECT_FALSE(padAccepts(sink.get(), "audio/x-raw,format=S16LE,rate=44100,channels=2"));
    EXPECT_FALSE(padAccepts(sink.get(), "audio/mpeg,mpegversion=1"));
    EXPECT_FALSE(padAccepts(sink.get(), "text/x-raw"));

    // An audio stream pushed at it fails negotiation instead of being swallowed.
    GstElementPtr pipeline = parsePipeline("audiotestsrc num-buffers=5 ! zarvexsink");
    ASSERT_TRUE(pipeline);
    const auto result = playToEnd(pipeline.get(), 10);
    EXPECT_FALSE(result.reachedEos);
    EXPECT_NE(result.error, "");
}

TEST_F(DiscardRendererTest, RawVideoReachesEndAtPresentationPace) {
    // 15 frames at 30/1: half a second of video, consumed against the clock.
    GstElementPtr pipeline = parsePipeline(
        "videotestsrc num-buffers=15 ! video/x-raw,framerate=30/1,width=160,height=120 ! "
        "zarvexsink");
    ASSERT_TRUE(pipeline);
    const auto result = playToEnd(pipeline.get());
    EXPECT_TRUE(result.reachedEos) << result.error;
    EXPECT_GE(result.seconds, 0.8 * 0.5);
}

TEST_F(DiscardRendererTest, CompressedVideoFromAviIsConsumedAtItsPace) {
    testsupport::TempDir folder;
    const std::string avi = folder.file("clip.avi");
    // One second of MJPEG; avidemux presents it as image/jpeg.
    ASSERT_TRUE(runDescription(
        "videotestsrc num-buffers=30 ! video/x-raw,framerate=30/1,width=160,height=120 ! "
        "jpegenc ! avimux ! filesink location=\"" +
        avi + "\""));

    GstElementPtr pipeline =
        parsePipeline("filesrc location=\"" + avi + "\" ! avidemux ! zarvexsink");
    ASSERT_TRUE(pipeline);
    const auto result = playToEnd(pipeline.get());
    EXPECT_TRUE(result.reachedEos) << result.error;
    EXPECT_GE(result.seconds, 0.8 * 1.0);
}

TEST_F(DiscardRendererTest, UnlinkedRendererHoldsNothingBack) {
    // Half a second of sound beside a renderer that never gets a stream.
    const char* description = "audiotestsrc num-buffers=22 ! fakesink sync=true  zarvexsink";
    GstElementPtr pipeline = parsePipeline(description);
    ASSERT_TRUE(pipeline);

    // Preroll completes without it...
    ASSERT_NE(gst_element_set_state(pipeline.get(), GST_STATE_PAUSED), GST_STATE_CHANGE_FAILURE);
    GstState state = GST_STATE_VOID_PENDING;
    EXPECT_EQ(gst_element_get_state(pipeline.get(), &state, nullptr, 10 * GST_SECOND),
              GST_STATE_CHANGE_SUCCESS);
    EXPECT_EQ(state, GST_STATE_PAUSED);

    // ...and so does the stream, also more than once in the same pipeline.
    for (int run = 0; run < 2; ++run) {
        const auto result = playToEnd(pipeline.get(), 10);
        EXPECT_TRUE(result.reachedEos) << "run " << run << ": " << result.error;
    }
}

TEST_F(DiscardRendererTest, UnlinkedRendererSurvivesASeekWhilePlaying) {
    GstElementPtr pipeline =
        parsePipeline("audiotestsrc num-buffers=44 ! fakesink sync=true  zarvexsink");
    ASSERT_TRUE(pipeline);
    ASSERT_NE(gst_element_set_state(pipeline.get(), GST_STATE_PLAYING), GST_STATE_CHANGE_FAILURE);
    ASSERT_EQ(gst_element_get_state(pipeline.get(), nullptr, nullptr, 10 * GST_SECOND),
              GST_STATE_CHANGE_SUCCESS);
    g_usleep(200 * 1000);
    EXPECT_TRUE(gst_element_seek_simple(pipeline.get(), GST_FORMAT_TIME,
                                        GstSeekFlags(GST_SEEK_FLAG_FLUSH), 0));
    const auto result = playToEnd(pipeline.get(), 10);
    EXPECT_TRUE(result.reachedEos) << result.error;
}

TEST_F(DiscardRendererTest, ShowsNothingAndOffersNoWindow) {
    GstElementPtr sink(gst_element_factory_make("zarvexsink", nullptr));
    ASSERT_TRUE(sink);
    gst_object_ref_sink(sink.get());
    EXPECT_FALSE(GST_IS_BIN(sink.get()));
    EXPECT_FALSE(GST_IS_VIDEO_OVERLAY(sink.get()));
    // Sync is on so frames are consumed at presentation pace.
    gboolean sync = FALSE;
    g_object_get(sink.get(), "sync", &sync, nullptr);
    EXPECT_TRUE(sync);
}

}  // namespace
