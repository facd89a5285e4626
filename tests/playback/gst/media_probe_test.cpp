// A probe keeps one pipeline for a whole search: whatever came before, each file must get
// the answer a probe made for it alone would give.
#include <gst/gst.h>

#include <string>
#include <vector>

#include "media_graph_fixture.h"

using namespace testsupport;

namespace {

struct Answer {
    int opened = 0;
    std::int32_t result = 0;
    int artistResult = 0;
    std::string artist;
    std::string title;
    double duration = 0;
    bool rendererLinked = false;
};

class MediaProbeTest : public MediaGraphTest {
  protected:
    static Answer probe(MediaGraph& graph, const std::string& path) {
        Answer answer;
        answer.opened = graph.Open(path, true);
        answer.result = graph.LastResult();
        answer.artistResult = graph.GetContentText(1, answer.artist);
        graph.GetContentText(2, answer.title);
        if (answer.opened == 0) {
            answer.duration = graph.GetDuration();
            answer.rendererLinked = !rendererInput(graph.pipeline()).empty();
        }
        return answer;
    }
};

}  // namespace

TEST_F(MediaProbeTest, AReusedProbeAnswersEachFileAsAFreshProbeWould) {
    const std::vector<std::string> files = {
        makeWav(dir.path(), "tagged.wav", 0.4, {"Wav Artist", "Wav Title", ""}),
        makeVideoOnly(dir.path(), "silent.avi", 0.4),
        makeRandomBytes(dir.path(), "noise.mp3", 20000),
        makeAvi(dir.path(), "clip.avi", 0.4, 0.6, AviAudio::Mp3, 160, 120, {"Avi Artist", "", ""}),
        makeMp3(dir.path(), "plain.mp3", 0.8),
        dir.file("missing.wav"),
        makeCbrMp3WithoutXing(dir.path(), "cbr.mp3", 1.0, {"Cbr Artist", "Cbr Title", ""}),
        makeWav(dir.path(), "plain.wav", 0.5),
    };
    MediaGraph reused(MediaGraph::Mode::Probe);
    // Twice round, so every kind of file also follows every other kind.
    for (int round = 0; round < 2; ++round) {
        for (const std::string& path : files) {
            SCOPED_TRACE(path);
            MediaGraph fresh(MediaGraph::Mode::Probe);
            const Answer expected = probe(fresh, path);
            const Answer got = probe(reused, path);
            EXPECT_EQ(got.opened, expected.opened);
            EXPECT_EQ(got.result, expected.result);
            EXPECT_EQ(got.artistResult, expected.artistResult);
            EXPECT_EQ(got.artist, expected.artist);
            EXPECT_EQ(got.title, expected.title);
            EXPECT_NEAR(got.duration, expected.duration, 0.01);
            EXPECT_EQ(got.rendererLinked, expected.rendererLinked);
            EXPECT_EQ(reused.pendingEvents(), 0u);
        }
    }
    // The renderer was lent to the picture and taken back for the sound alone.
    if (!rendererMissing(reused)) {
        EXPECT_TRUE(probe(reused, files[3]).rendererLinked);
        ASSERT_EQ(reused.Open(files[0], true), 0);
        GstElementPtr renderer(
            gst_bin_get_by_name(GST_BIN(reused.pipeline()), "NULL Video (tavik)"));
        EXPECT_EQ(renderer, nullptr);
    }
}
