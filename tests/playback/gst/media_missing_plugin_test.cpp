// A file whose decoder this GStreamer lacks: opening it fails and says on standard error
// which plug-in is missing, for every file opened for play, once per run for the probe.
// The decoders are taken out of this process's registry, so this suite runs on its own.
#include <gtest/gtest.h>

#include "media_graph_fixture.h"

using namespace testsupport;

namespace {

class MissingPluginTest : public MediaGraphTest {
  protected:
    void SetUp() override {
        if (!missingFactories({"flacenc"}).empty())
            GTEST_SKIP() << "this machine lacks flacenc";
        first = makeMedia(dir.path(), "a.flac", {"", "flacenc", ""}, 0.3, 440);
        second = makeMedia(dir.path(), "b.flac", {"", "flacenc", ""}, 0.3, 440);
        GstRegistry* registry = gst_registry_get();
        for (const char* name : {"flacdec", "avdec_flac"}) {
            if (GstPluginFeature* feature = gst_registry_lookup_feature(registry, name)) {
                gst_registry_remove_feature(registry, feature);
                gst_object_unref(feature);
            }
        }
    }
    // What opening `paths` in turn with one graph printed on standard error.
    static std::string openAll(MediaGraph& graph, const std::vector<std::string>& paths) {
        ::testing::internal::CaptureStderr();
        for (const std::string& path : paths)
            EXPECT_EQ(graph.Open(path, false), -1) << path;
        return ::testing::internal::GetCapturedStderr();
    }

    std::string first, second;
};

TEST_F(MissingPluginTest, PlayNamesTheMissingDecoderForEachFileAndTheProbeOnce) {
    MediaGraph player;
    const std::string played = openAll(player, {first, second, first});
    EXPECT_EQ(testsupport::countOf(played, "vorn: " + first + ": cannot be played: "), 2) << played;
    EXPECT_EQ(testsupport::countOf(played, "vorn: " + second + ": cannot be played: "), 1)
        << played;
    EXPECT_NE(played.find("FLAC"), std::string::npos) << played;
    EXPECT_NE(played.find(" is missing (install the GStreamer plug-in that provides it)\n"),
              std::string::npos)
        << played;

    MediaGraph probe(MediaGraph::Mode::Probe);
    const std::string probed = openAll(probe, {first, second});
    EXPECT_EQ(testsupport::countOf(probed, ": cannot be played: "), 1) << probed;
}

}  // namespace
