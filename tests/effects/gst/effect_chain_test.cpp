#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "app/gst/gst_init.h"
#include "app/gst/gst_ptr.h"
#include "effects/gst/effect_catalogue.h"
#include "effects/gst/effect_chain.h"
#include "fake_registry.h"
#include "support/temp_dir.h"
#include "support/test_media.h"

namespace {

// Plays a 0.8 sine through the catalogue's chain into a WAV file, the way a song's
// pipeline holds the effects: added before the pipeline starts, removed once it is in NULL.
class ChainPipeline {
  public:
    ChainPipeline(EffectCatalogue& catalogue, const std::string& wavPath, bool realtime = false) {
        pipeline_.reset(GST_ELEMENT(gst_object_ref_sink(gst_pipeline_new(nullptr))));
        bin_ = GST_BIN(pipeline_.get());
        GstElement* source = make("audiotestsrc");
        g_object_set(source, "volume", 0.8, "num-buffers", realtime ? 150 : 20, "is-live", realtime,
                     nullptr);
        GstElement* caps = make("capsfilter");
        GstCapsPtr format(gst_caps_from_string("audio/x-raw,format=S16LE,rate=44100,channels=2"));
        g_object_set(caps, "caps", format.get(), nullptr);
        GstElement* encoder = make("wavenc");
        GstElement* file = make("filesink");
        g_object_set(file, "location", wavPath.c_str(), nullptr);
        gst_element_link(source, caps);
        chain = insertEffects(bin_, &catalogue);
        if (chain.head) {
            gst_element_link(caps, chain.head);
            gst_element_link(chain.tail, encoder);
        } else {
            gst_element_link(caps, encoder);
        }
        gst_element_link(encoder, file);
    }
    ~ChainPipeline() { stop(); }

    // Runs to the end of stream; `whilePlaying` is called once, about half-way.
    bool run(const std::function<void()>& whilePlaying = {}) {
        if (gst_element_set_state(pipeline_.get(), GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE)
            return false;
        GstBusPtr bus(gst_element_get_bus(pipeline_.get()));
        if (whilePlaying) {
            GstMessagePtr early(
                gst_bus_timed_pop_filtered(bus.get(), 1500 * GST_MSECOND,
                                           GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR)));
            if (early)
                return false;  // ended before the change could be made
            whilePlaying();
        }
        GstMessagePtr end(gst_bus_timed_pop_filtered(
            bus.get(), 20 * GST_SECOND, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR)));
        return end && GST_MESSAGE_TYPE(end.get()) == GST_MESSAGE_EOS;
    }

    void stop() {
        if (!pipeline_)
            return;
        gst_element_set_state(pipeline_.get(), GST_STATE_NULL);
        removeEffects(bin_, chain);
        pipeline_.reset();
    }

    int childCount() const { return static_cast<int>(bin_->numchildren); }

    EffectChain chain;

  private:
    GstElement* make(const char* factory) {
        GstElement* element = gst_element_factory_make(factory, nullptr);
        gst_bin_add(bin_, element);
        return element;
    }

    GstElementPtr pipeline_;
    GstBin* bin_ = nullptr;
};

class EffectChainTest : public ::testing::Test {
  protected:
    void SetUp() override { ensureGstInitialised(); }

    EffectCatalogue& catalogueOf(std::vector<EffectFactoryInfo> factories) {
        registry->factories = std::move(factories);
        catalogue = std::make_unique<EffectCatalogue>(viewOf(registry));
        catalogue->fill();
        return *catalogue;
    }

    GstElement* wrapper(int index) {
        GstElement* element = nullptr;
        catalogue->wrapperFor(index, &element);
        return element;
    }

    testsupport::TempDir dir;
    std::shared_ptr<FakeRegistry> registry = std::make_shared<FakeRegistry>();
    std::unique_ptr<EffectCatalogue> catalogue;
};

TEST_F(EffectChainTest, NullArgumentsAndNoSelectionGiveAnEmptyChain) {
    EffectCatalogue& effects = catalogueOf({audioEffect("audioamplify", "Audio amplifier")});
    GstElementPtr bin(GST_ELEMENT(gst_object_ref_sink(gst_bin_new(nullptr))));
    EXPECT_EQ(insertEffects(nullptr, &effects).head, nullptr);
    EXPECT_EQ(insertEffects(GST_BIN(bin.get()), nullptr).head, nullptr);
    const EffectChain none = insertEffects(GST_BIN(bin.get()), &effects);
    EXPECT_EQ(none.head, nullptr);
    EXPECT_EQ(none.tail, nullptr);
    EXPECT_TRUE(none.shared.empty());
    EXPECT_EQ(GST_BIN(bin.get())->numchildren, 0);
    removeEffects(nullptr, none);

    ChainPipeline song(effects, dir.file("plain.wav"));
    ASSERT_TRUE(song.run());
    song.stop();
    EXPECT_NEAR(testsupport::peakAmplitude(dir.file("plain.wav")), 0.8, 0.01);
}

TEST_F(EffectChainTest, SelectedEffectShapesTheSoundAndIsReusedByTheNextSong) {
    EffectCatalogue& effects = catalogueOf({audioEffect("audioamplify", "Audio amplifier")});
    effects.select(0);
    GstElement* amplifier = wrapper(0);
    g_object_set(amplifier, "amplification", 0.5f, nullptr);

    for (const char* name : {"first.wav", "second.wav"}) {
        ChainPipeline song(effects, dir.file(name));
        ASSERT_EQ(song.chain.shared.size(), 1u);
        EXPECT_EQ(song.chain.shared[0], amplifier) << name;
        EXPECT_NE(song.chain.head, amplifier) << "a converter leads into the effect";
        ASSERT_TRUE(song.run());
        song.stop();
        EXPECT_EQ(GST_OBJECT_PARENT(amplifier), nullptr) << "taken out of the finished song";
        EXPECT_EQ(GST_OBJECT_REFCOUNT_VALUE(amplifier), 1) << "only the catalogue keeps it";
        EXPECT_NEAR(testsupport::peakAmplitude(dir.file(name)), 0.4, 0.01) << name;
    }
}

TEST_F(EffectChainTest, TwoEffectsRunInCatalogueOrder) {
    // The same amplifier twice: x4 with clipping, then x0.25. In this order a 0.8 sine
    // clips at 1.0 and ends at 0.25; the other order would give 0.8.
    EffectCatalogue& effects =
        catalogueOf({audioEffect("audioamplify", "Boost"), audioEffect("audioamplify", "Cut")});
    effects.select(1);
    effects.select(0);
    g_object_set(wrapper(0), "amplification", 4.0f, nullptr);
    gst_util_set_object_arg(G_OBJECT(wrapper(0)), "clipping-method", "clip");
    g_object_set(wrapper(1), "amplification", 0.25f, nullptr);

    ChainPipeline song(effects, dir.file("ordered.wav"));
    ASSERT_EQ(song.chain.shared.size(), 2u);
    EXPECT_EQ(song.chain.shared[0], wrapper(0));
    EXPECT_EQ(song.chain.shared[1], wrapper(1));
    ASSERT_TRUE(song.run());
    song.stop();
    EXPECT_NEAR(testsupport::peakAmplitude(dir.file("ordered.wav")), 0.25, 0.01);
}

TEST_F(EffectChainTest, EffectsThatCannotJoinAreSkippedWithoutLeftovers) {
    // A usable effect, a missing factory and an element that can't take audio.
    EffectCatalogue& effects =
        catalogueOf({audioEffect("videoflip", "Video"), audioEffect("nosuchfactory", "Missing"),
                     audioEffect("audioamplify", "Amplifier")});
    ASSERT_STREQ(effects.effectName(0), "Amplifier");
    for (int i = 0; i < 3; ++i)
        effects.select(i);
    g_object_set(wrapper(0), "amplification", 0.5f, nullptr);

    ChainPipeline song(effects, dir.file("skipped.wav"));
    ASSERT_EQ(song.chain.shared.size(), 1u);
    EXPECT_EQ(song.chain.shared[0], wrapper(0));
    EXPECT_EQ(GST_OBJECT_PARENT(wrapper(2)), nullptr) << "the video element left the bin again";
    // source, caps filter, encoder, file sink + converter, amplifier, converter.
    EXPECT_EQ(song.childCount(), 7);
    ASSERT_TRUE(song.run());
    song.stop();
    EXPECT_NEAR(testsupport::peakAmplitude(dir.file("skipped.wav")), 0.4, 0.01);
}

TEST_F(EffectChainTest, EffectStillInAnotherPipelineIsSkipped) {
    EffectCatalogue& effects = catalogueOf({audioEffect("audioamplify", "Audio amplifier")});
    effects.select(0);
    GstElementPtr previous(GST_ELEMENT(gst_object_ref_sink(gst_bin_new(nullptr))));
    GstElementPtr next(GST_ELEMENT(gst_object_ref_sink(gst_bin_new(nullptr))));
    const EffectChain held = insertEffects(GST_BIN(previous.get()), &effects);
    ASSERT_EQ(held.shared.size(), 1u);

    const EffectChain refused = insertEffects(GST_BIN(next.get()), &effects);
    EXPECT_TRUE(refused.shared.empty());
    EXPECT_EQ(refused.head, nullptr);
    EXPECT_EQ(GST_BIN(next.get())->numchildren, 0);

    removeEffects(GST_BIN(next.get()), held);  // not its bin: nothing happens
    EXPECT_EQ(GST_OBJECT_PARENT(wrapper(0)), GST_OBJECT(previous.get()));
    removeEffects(GST_BIN(previous.get()), held);
    const EffectChain accepted = insertEffects(GST_BIN(next.get()), &effects);
    EXPECT_EQ(accepted.shared.size(), 1u);
    removeEffects(GST_BIN(next.get()), accepted);
}

TEST_F(EffectChainTest, PropertyChangeReachesThePlayingSound) {
    EffectCatalogue& effects = catalogueOf({audioEffect("audioamplify", "Audio amplifier")});
    effects.select(0);
    GstElement* amplifier = wrapper(0);
    g_object_set(amplifier, "amplification", 1.0f, nullptr);
    ChainPipeline song(effects, dir.file("live.wav"), true);
    ASSERT_TRUE(song.run([&] { g_object_set(amplifier, "amplification", 0.25f, nullptr); }));
    song.stop();
    const std::string out = dir.file("live.wav");
    EXPECT_NEAR(testsupport::peakAmplitude(out, 0, 0.5), 0.8, 0.01);
    EXPECT_NEAR(testsupport::peakAmplitude(out, 2.5, -1), 0.2, 0.01);
}

}  // namespace
