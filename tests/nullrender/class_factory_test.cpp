// The program's path to the discard renderer: register the plug-in by file name, then
// create the element by class identifier. Runs without the plug-in on GStreamer's plug-in
// path, so the renderer exists only while registered.
#include "playback/gst/class_factory.h"

#include <gtest/gtest.h>

#include "app/core/plugin_registration.h"
#include "app/gst/gst_init.h"
#include "gst_test_support.h"

namespace {

GstElementPtr create(const char* classId, const char* name) {
    GstElement* element = createElementByClassId(classId, name);
    return GstElementPtr(element ? GST_ELEMENT(gst_object_ref_sink(element)) : nullptr);
}

TEST(ClassFactory, FindsTheRendererOnlyWhileRegistered) {
    ensureGstInitialised();
    const auto binDir = zarvex_test::binDirectory();
    ASSERT_FALSE(binDir.empty());
    EXPECT_FALSE(create(kNullRendererClassId, nullptr)) << "plug-in known before registration";

    ASSERT_EQ(registerPlugin(binDir), 0u);
    GstElementPtr renderer = create(kNullRendererClassId, "NULL Video (tavik)");
    ASSERT_TRUE(renderer);
    EXPECT_STREQ(GST_OBJECT_NAME(renderer.get()), "NULL Video (tavik)");
    EXPECT_STREQ(gst_element_factory_get_metadata(gst_element_get_factory(renderer.get()),
                                                  GST_ELEMENT_METADATA_LONGNAME),
                 "Zarvex Renderer");
    // Every call makes a new element.
    GstElementPtr another = create(kNullRendererClassId, nullptr);
    ASSERT_TRUE(another);
    EXPECT_NE(another.get(), renderer.get());
    EXPECT_FALSE(create("{0885E0A0-3823-11D5-8A69-0050DA994518}", nullptr));

    ASSERT_EQ(unregisterPlugin(binDir), 0u);
    EXPECT_FALSE(create(kNullRendererClassId, nullptr));

    ASSERT_EQ(registerPlugin(binDir), 0u);
    EXPECT_TRUE(create(kNullRendererClassId, nullptr));
    EXPECT_EQ(unregisterPlugin(binDir), 0u);
}

}  // namespace
