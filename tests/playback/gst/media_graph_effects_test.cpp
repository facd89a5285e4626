// The sound passes through the user's effects, whose shared elements serve song after song,
// and is played at the program's volume.
#include <gst/gst.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "effects/gst/effect_catalogue.h"
#include "media_graph_fixture.h"
#include "support/sound_capture.h"

using namespace testsupport;

namespace {
// Replaces the audio sink for one test.
class AudioSinkOverride {
  public:
    explicit AudioSinkOverride(const std::string& description) {
        const char* old = std::getenv("VORN_AUDIO_SINK");
        if (old)
            old_ = old;
        setenv("VORN_AUDIO_SINK", description.c_str(), 1);
    }
    ~AudioSinkOverride() { setenv("VORN_AUDIO_SINK", old_.c_str(), 1); }

  private:
    std::string old_ = "fakesink sync=true";
};
}  // namespace

TEST_F(MediaGraphTest, EffectsShapeTheSoundOfEverySong) {
    EffectCatalogue catalogue;
    catalogue.fill();
    int volume = -1;
    for (int i = 0; i < catalogue.effectCount(); ++i)
        if (std::string(catalogue.effectName(i)) == "Volume")
            volume = i;
    if (volume < 0)
        GTEST_SKIP() << "no volume element installed";
    catalogue.select(volume);
    GstElement* element = nullptr;
    ASSERT_EQ(catalogue.selectedWrapperFor(volume, &element), 0);
    g_object_set(element, "volume", 0.25, nullptr);

    std::string song = makeWav(dir.path(), "in.wav", 0.5, {}, 440, 0.8);
    MediaGraph graph;
    graph.setEffects(&catalogue);
    for (std::string out : {"out1.wav", "out2.wav"}) {
        AudioSinkOverride sink("wavenc ! filesink location=" + dir.file(out));
        ASSERT_EQ(graph.Open(song, true), 0) << out;
        ASSERT_EQ(graph.Run(nullptr), 0);
        ASSERT_EQ(waitForEvent(graph, 5.0), 1);
        graph.Close();  // writes the file out
        EXPECT_NEAR(peakAmplitude(dir.file(out)), 0.2, 0.02) << out;
    }
    // Without effects the sound is untouched.
    graph.setEffects(nullptr);
    AudioSinkOverride sink("wavenc ! filesink location=" + dir.file("plain.wav"));
    ASSERT_EQ(graph.Open(song, true), 0);
    ASSERT_EQ(graph.Run(nullptr), 0);
    ASSERT_EQ(waitForEvent(graph, 5.0), 1);
    graph.Close();
    EXPECT_NEAR(peakAmplitude(dir.file("plain.wav")), 0.8, 0.02);
}

// The captured sink has no volume of its own, so the volume element before it serves. On the
// cubic scale 0.25 plays at 0.25^3 of the sound, from the first buffer of a song opened
// after it was set; a change reaches the song that plays.
TEST_F(MediaGraphTest, TheProgramsVolumeShapesEverySongFromItsFirstBuffer) {
    SoundCapture capture(dir.path());
    auto peak = [&](std::size_t from, std::size_t to) {
        std::vector<std::int16_t> samples = capture.samples();
        int loudest = 0;
        for (std::size_t i = from; i < std::min(to, samples.size()); ++i)
            loudest = std::max(loudest, std::abs(static_cast<int>(samples[i])));
        return static_cast<double>(loudest);
    };
    std::string song = makeWav(dir.path(), "in.wav", 1.5, {}, 440, 0.8);
    MediaGraph graph;
    graph.setVolume(0.25);  // before the song is opened
    ASSERT_EQ(graph.Open(song, true), 0) << graph.GetErrorText(256);
    ASSERT_EQ(graph.Run(nullptr), 0);
    ASSERT_EQ(waitForEvent(graph, 5.0), 1);
    graph.Close();
    const std::size_t quietEnd = capture.samples().size();

    graph.setVolume(1.0);
    ASSERT_EQ(graph.Open(song, true), 0);
    ASSERT_EQ(graph.Run(nullptr), 0);
    while (capture.samples().size() < quietEnd + SoundCapture::kRate / 2)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    graph.setVolume(0.5);
    ASSERT_EQ(waitForEvent(graph, 5.0), 1);
    graph.Close();
    const std::size_t end = capture.samples().size();

    const double loud = peak(quietEnd, quietEnd + SoundCapture::kRate / 4);
    ASSERT_GT(loud, 20000);
    EXPECT_NEAR(peak(0, quietEnd) / loud, 0.25 * 0.25 * 0.25, 0.002);
    EXPECT_NEAR(peak(end - SoundCapture::kRate / 4, end) / loud, 0.5 * 0.5 * 0.5, 0.01);
}
