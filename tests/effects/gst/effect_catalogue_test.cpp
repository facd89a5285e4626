#include <gtest/gtest.h>

#include <string>

#include "app/gst/gst_init.h"
#include "effects/gst/effect_catalogue.h"
#include "fake_registry.h"

namespace {

class EffectCatalogueTest : public ::testing::Test {
  protected:
    void SetUp() override { ensureGstInitialised(); }
    std::shared_ptr<FakeRegistry> registry = std::make_shared<FakeRegistry>();
};

TEST_F(EffectCatalogueTest, EmptyRegistryListsNothingAndIsAskedAgain) {
    EffectCatalogue catalogue(viewOf(registry));
    EXPECT_EQ(registry->calls, 0) << "constructing must not read the registry";
    EXPECT_EQ(catalogue.fill(), kResultFalse);
    EXPECT_EQ(catalogue.effectCount(), 0);
    EXPECT_STREQ(catalogue.effectName(0), "");
    catalogue.deselect(-1);
    catalogue.select(0);
    EXPECT_FALSE(catalogue.isSelected(0));
    GstElement* element = reinterpret_cast<GstElement*>(&catalogue);  // must be overwritten
    EXPECT_EQ(catalogue.wrapperFor(0, &element), kResultFail);
    EXPECT_EQ(element, nullptr);
    EXPECT_EQ(checkEffectSupport(viewOf(registry)), -1);
    EXPECT_EQ(catalogue.fill(), kResultFalse);
    EXPECT_EQ(registry->calls, 3);
}

TEST_F(EffectCatalogueTest, FailedListingAddsNothingAndIsReported) {
    registry->factories = {audioEffect("audioamplify", "Audio amplifier")};
    registry->result = kResultFail;
    EffectCatalogue catalogue(viewOf(registry));
    EXPECT_EQ(catalogue.fill(), kResultFail);
    EXPECT_EQ(catalogue.effectCount(), 0);
    EXPECT_EQ(checkEffectSupport(viewOf(registry)), 1);
    registry->result = kResultOk;
    EXPECT_EQ(checkEffectSupport(viewOf(registry)), 0);
    EXPECT_EQ(catalogue.fill(), kResultFalse);
    EXPECT_EQ(catalogue.effectCount(), 1);
}

TEST_F(EffectCatalogueTest, KeepsOnlyAudioEffectsSortedStablyByFactoryName) {
    registry->factories = {
        audioEffect("zecho", "Z echo"),
        {"audiotestsrc", "Audio test source", "Source/Audio"},
        {"videobalance", "Video balance", "Filter/Effect/Video"},
        audioEffect("beta", "Beta one"),
        {"scaletempo", "Scaletempo", "Filter/Effect/Rate/Audio"},
        audioEffect("beta", "Beta two"),
        audioEffect("alpha", "Alpha"),
    };
    EffectCatalogue catalogue(viewOf(registry));
    ASSERT_EQ(catalogue.fill(), kResultFalse);
    ASSERT_EQ(catalogue.effectCount(), 5);
    const char* expected[] = {"Alpha", "Beta one", "Beta two", "Scaletempo", "Z echo"};
    for (int i = 0; i < 5; ++i)
        EXPECT_STREQ(catalogue.effectName(i), expected[i]) << i;
}

TEST_F(EffectCatalogueTest, NamesAreCutTo255BytesOnACharacterBoundary) {
    const std::string ascii(300, 'x');
    std::string accented;
    for (int i = 0; i < 150; ++i)
        accented += "\xC3\xA9";  // 300 bytes of "é"
    std::string japanese;
    for (int i = 0; i < 100; ++i)
        japanese += "\xE9\x9F\xB3";  // 300 bytes of "音"
    registry->factories = {audioEffect("a", ascii), audioEffect("b", accented),
                           audioEffect("c", japanese), audioEffect("d", "")};
    EffectCatalogue catalogue(viewOf(registry));
    ASSERT_EQ(catalogue.fill(), kResultFalse);
    ASSERT_EQ(catalogue.effectCount(), 4);
    EXPECT_EQ(std::string(catalogue.effectName(0)), ascii.substr(0, 255));
    EXPECT_EQ(std::string(catalogue.effectName(1)), accented.substr(0, 254));
    EXPECT_EQ(std::string(catalogue.effectName(2)), japanese.substr(0, 255));
    EXPECT_STREQ(catalogue.effectName(3), "");
}

TEST_F(EffectCatalogueTest, SelectionFollowsSelectAndDeselect) {
    registry->factories = {audioEffect("a", "A"), audioEffect("b", "B"), audioEffect("c", "C")};
    EffectCatalogue catalogue(viewOf(registry));
    catalogue.fill();
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(catalogue.isSelected(i));
    catalogue.select(0);
    catalogue.select(2);
    catalogue.select(7);
    catalogue.select(-3);
    EXPECT_TRUE(catalogue.isSelected(0));
    EXPECT_FALSE(catalogue.isSelected(1));
    EXPECT_TRUE(catalogue.isSelected(2));
    catalogue.deselect(2);
    EXPECT_FALSE(catalogue.isSelected(2));
    catalogue.select(1);
    catalogue.deselect(-1);
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(catalogue.isSelected(i));
    catalogue.clearEntries();
    EXPECT_EQ(catalogue.effectCount(), 0);
}

TEST_F(EffectCatalogueTest, WrapperIsMadeOnceAndOwnedByTheEntry) {
    registry->factories = {audioEffect("audioamplify", "Audio amplifier"),
                           audioEffect("nosuchfactory", "Gone")};
    EffectCatalogue catalogue(viewOf(registry));
    catalogue.fill();

    GstElement* first = nullptr;
    GstElement* second = nullptr;
    ASSERT_EQ(catalogue.wrapperFor(0, &first), kResultOk) << "unselected entries get a wrapper too";
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(g_object_is_floating(first));
    EXPECT_EQ(GST_OBJECT_REFCOUNT_VALUE(first), 1) << "the entry holds the only reference";
    ASSERT_EQ(catalogue.wrapperFor(0, &second), kResultOk);
    EXPECT_EQ(first, second);
    EXPECT_STREQ(GST_ELEMENT_NAME(first), "Audio amplifier");

    EXPECT_EQ(catalogue.selectedWrapperFor(0, &second), kResultFail);
    EXPECT_EQ(second, nullptr);
    catalogue.select(0);
    EXPECT_EQ(catalogue.selectedWrapperFor(0, &second), kResultOk);
    EXPECT_EQ(second, first);

    GstElement* missing = nullptr;
    EXPECT_EQ(catalogue.wrapperFor(1, &missing), kResultClassNotRegistered);
    EXPECT_EQ(missing, nullptr);
    EXPECT_EQ(catalogue.wrapperFor(2, &missing), kResultFail);
    EXPECT_EQ(catalogue.wrapperFor(-1, &missing), kResultFail);
    EXPECT_EQ(catalogue.wrapperFor(0, nullptr), kResultFail);

    // A wrapper still used elsewhere outlives the catalogue's entries.
    GstElementPtr kept(GST_ELEMENT(gst_object_ref(first)));
    catalogue.clearEntries();
    EXPECT_EQ(GST_OBJECT_REFCOUNT_VALUE(kept.get()), 1);
}

TEST_F(EffectCatalogueTest, EffectsWithOneNameGetDistinctElementNames) {
    registry->factories = {audioEffect("audioamplify", "Same"), audioEffect("audioinvert", "Same")};
    EffectCatalogue catalogue(viewOf(registry));
    catalogue.fill();
    GstElement* first = nullptr;
    GstElement* second = nullptr;
    ASSERT_EQ(catalogue.wrapperFor(0, &first), kResultOk);
    ASSERT_EQ(catalogue.wrapperFor(1, &second), kResultOk);
    EXPECT_STRNE(GST_ELEMENT_NAME(first), GST_ELEMENT_NAME(second));
}

TEST_F(EffectCatalogueTest, RealRegistryListsTheAudioEffectsPlugins) {
    EXPECT_EQ(checkEffectSupport(), 0);
    EffectCatalogue catalogue;
    EXPECT_EQ(catalogue.effectCount(), 0);
    ASSERT_EQ(catalogue.fill(), kResultFalse);
    int amplifier = -1;
    for (int i = 0; i < catalogue.effectCount(); ++i) {
        if (std::string(catalogue.effectName(i)) == "Audio amplifier")
            amplifier = i;
    }
    ASSERT_GE(amplifier, 0);
    GstElement* element = nullptr;
    ASSERT_EQ(catalogue.wrapperFor(amplifier, &element), kResultOk);
    GstElementFactory* factory = gst_element_get_factory(element);
    EXPECT_STREQ(GST_OBJECT_NAME(factory), "audioamplify");
    EXPECT_TRUE(
        isAudioEffectClass(gst_element_factory_get_metadata(factory, GST_ELEMENT_METADATA_KLASS)));
}

}  // namespace
