#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "app/gst/gst_init.h"
#include "effects/gst/effect_catalogue.h"
#include "playback/gst/media_graph.h"
#include "support/temp_dir.h"
#include "support/test_media.h"

namespace {

using testsupport::peakAmplitude;

// Songs played by the real media graph, their sound written to WAV files instead of a
// sound card, through the effects of the real registry.
class EffectPlaybackTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ensureGstInitialised();
        ASSERT_EQ(catalogue.fill(), kResultFalse);
        song = testsupport::makeWav(dir.path(), "sine.wav", 1.0, {}, 440, 0.8);
    }

    int indexOf(const char* factory) {
        for (int i = 0; i < catalogue.effectCount(); ++i) {
            GstElement* element = nullptr;
            if (catalogue.wrapperFor(i, &element) == kResultOk &&
                std::string(GST_OBJECT_NAME(gst_element_get_factory(element))) == factory)
                return i;
        }
        ADD_FAILURE() << factory << " is not in the catalogue";
        return 0;
    }

    GstElement* wrapper(int index) {
        GstElement* element = nullptr;
        catalogue.wrapperFor(index, &element);
        return element;
    }

    // The sink description is read when a song's pipeline is built. In real time, a
    // synchronised branch with a short queue holds the recording to the clock's pace.
    static std::string recordTo(const std::string& wav, bool realtime = false) {
        const std::string record = "wavenc ! filesink location=\"" + wav + "\"";
        const std::string sink =
            realtime ? "tee name=split ! queue ! " + record +
                           " split. ! queue max-size-time=100000000 ! fakesink sync=true"
                     : record;
        setenv("VORN_AUDIO_SINK", sink.c_str(), 1);
        return wav;
    }

    // Opens, plays to the end and closes `path`; `whilePlaying` runs once after `after` s.
    static void play(MediaGraph& graph, const std::string& path,
                     const std::function<void()>& whilePlaying = {}, double after = 0) {
        ASSERT_EQ(graph.Open(path, false), 0) << graph.GetErrorText(256);
        ASSERT_EQ(graph.Run(nullptr), 0);
        const auto start = std::chrono::steady_clock::now();
        bool changed = !whilePlaying;
        int event = 0;
        while (event == 0 && std::chrono::steady_clock::now() - start < std::chrono::seconds(20)) {
            if (!changed &&
                std::chrono::steady_clock::now() - start > std::chrono::duration<double>(after)) {
                whilePlaying();
                changed = true;
            }
            event = graph.PollEvent();
            if (event == 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        EXPECT_EQ(event, 1) << "the song should end normally";
        EXPECT_TRUE(changed);
        graph.Close();
    }

    testsupport::TempDir dir;
    EffectCatalogue catalogue;
    std::string song;
};

TEST_F(EffectPlaybackTest, SelectedEffectShapesEverySongWithOneInstance) {
    const int amplifier = indexOf("audioamplify");
    catalogue.select(amplifier);
    g_object_set(wrapper(amplifier), "amplification", 0.5f, nullptr);
    MediaGraph graph;
    graph.setEffects(&catalogue);
    for (const char* name : {"first.wav", "second.wav"}) {
        const std::string out = recordTo(dir.file(name));
        ASSERT_EQ(graph.Open(song, false), 0);
        EXPECT_EQ(GST_OBJECT_PARENT(wrapper(amplifier)), GST_OBJECT(graph.pipeline())) << name;
        graph.Close();
        play(graph, song);
        EXPECT_NEAR(peakAmplitude(out), 0.4, 0.01) << name;
        EXPECT_EQ(GST_OBJECT_PARENT(wrapper(amplifier)), nullptr)
            << "released with the closed song";
    }
}

TEST_F(EffectPlaybackTest, ChangingAPropertyChangesThePlayingSound) {
    song = testsupport::makeWav(dir.path(), "long.wav", 3.0, {}, 440, 0.8);
    const int amplifier = indexOf("audioamplify");
    catalogue.select(amplifier);
    g_object_set(wrapper(amplifier), "amplification", 1.0f, nullptr);
    MediaGraph graph;
    graph.setEffects(&catalogue);
    const std::string out = recordTo(dir.file("live.wav"), true);
    play(
        graph, song, [&] { g_object_set(wrapper(amplifier), "amplification", 0.25f, nullptr); },
        1.2);
    EXPECT_NEAR(peakAmplitude(out, 0, 0.5), 0.8, 0.01);
    EXPECT_NEAR(peakAmplitude(out, 2.3, -1), 0.2, 0.01);
}

TEST_F(EffectPlaybackTest, TwoEffectsAreChainedInCatalogueOrder) {
    // x4 with clipping, then inversion by a quarter (x0.5): 0.8 clips to 1.0 and ends at
    // 0.5; the other order would clip at the end and give 1.0.
    const int amplifier = indexOf("audioamplify");
    const int inverter = indexOf("audioinvert");
    ASSERT_LT(amplifier, inverter);
    catalogue.select(inverter);
    catalogue.select(amplifier);
    g_object_set(wrapper(amplifier), "amplification", 4.0f, nullptr);
    g_object_set(wrapper(inverter), "degree", 0.25f, nullptr);
    MediaGraph graph;
    graph.setEffects(&catalogue);
    const std::string out = recordTo(dir.file("chained.wav"));
    play(graph, song);
    EXPECT_NEAR(peakAmplitude(out), 0.5, 0.01);
}

TEST_F(EffectPlaybackTest, EffectsOnWithNothingSelectedPlayUnchanged) {
    MediaGraph graph;
    graph.setEffects(&catalogue);
    const std::string out = recordTo(dir.file("plain.wav"));
    play(graph, song);
    EXPECT_NEAR(peakAmplitude(out), 0.8, 0.01);

    EffectCatalogue neverOpened;  // the effect choice was never opened in this run
    graph.setEffects(&neverOpened);
    const std::string again = recordTo(dir.file("unfilled.wav"));
    play(graph, song);
    EXPECT_NEAR(peakAmplitude(again), 0.8, 0.01);
}

}  // namespace
