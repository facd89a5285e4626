// The plug-in's four server exports, called the way the program calls them: through the
// library loaded by path. Runs both with the plug-in on GStreamer's plug-in path (already
// known to the registry) and without (known only once registered).
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "app/gst/gst_init.h"
#include "gst_test_support.h"
#include "playback/gst/class_factory.h"

namespace {

constexpr std::uint32_t kOk = 0;
constexpr std::uint32_t kFalse = 1;
constexpr std::uint32_t kNoInterface = 0x80004002;
constexpr std::uint32_t kPointer = 0x80004003;
constexpr std::uint32_t kClassNotAvailable = 0x80040111;
constexpr const char* kIidClassFactory = "{00000001-0000-0000-C000-000000000046}";
constexpr const char* kIidUnknown = "{00000000-0000-0000-C000-000000000046}";
constexpr const char* kOtherClassId = "{0885E0A0-3823-11D5-8A69-0050DA994518}";

struct Exports {
    std::uint32_t (*registerServer)() = nullptr;
    std::uint32_t (*unregisterServer)() = nullptr;
    std::uint32_t (*getClassObject)(const char*, const char*, void**) = nullptr;
    std::uint32_t (*canUnloadNow)() = nullptr;
};

template <typename Function>
void resolve(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(library, name));
}

class ServerExportsTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ensureGstInitialised();
        const auto path = zarvex_test::binDirectory() / "libgstzarvex.so";
        library_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
        ASSERT_TRUE(library_) << dlerror();
        resolve(library_, "DllRegisterServer", exports_.registerServer);
        resolve(library_, "DllUnregisterServer", exports_.unregisterServer);
        resolve(library_, "DllGetClassObject", exports_.getClassObject);
        resolve(library_, "DllCanUnloadNow", exports_.canUnloadNow);
    }
    void SetUp() override {
        ASSERT_TRUE(exports_.registerServer && exports_.unregisterServer &&
                    exports_.getClassObject && exports_.canUnloadNow);
    }
    void TearDown() override { exports_.unregisterServer(); }

    static inline void* library_ = nullptr;
    static inline Exports exports_;
};

int countRenderers() {
    int count = 0;
    GList* factories = gst_registry_get_feature_list(gst_registry_get(), GST_TYPE_ELEMENT_FACTORY);
    for (GList* item = factories; item; item = item->next) {
        const char* id =
            gst_element_factory_get_metadata(GST_ELEMENT_FACTORY(item->data), kClassIdMetadataKey);
        if (id && std::strcmp(id, kNullRendererClassId) == 0)
            ++count;
    }
    gst_plugin_feature_list_free(factories);
    return count;
}

int countPlugins() {
    int count = 0;
    GList* plugins = gst_registry_get_plugin_list(gst_registry_get());
    for (GList* item = plugins; item; item = item->next) {
        if (std::strcmp(gst_plugin_get_name(GST_PLUGIN(item->data)), "zarvex") == 0)
            ++count;
    }
    gst_plugin_list_free(plugins);
    return count;
}

GstElementPtr createRenderer() {
    GstElement* element = createElementByClassId(kNullRendererClassId, "NULL Video (tavik)");
    return GstElementPtr(element ? GST_ELEMENT(gst_object_ref_sink(element)) : nullptr);
}

TEST_F(ServerExportsTest, RegisteringTwiceLeavesOneRegistration) {
    EXPECT_EQ(exports_.registerServer(), kOk);
    EXPECT_EQ(exports_.registerServer(), kOk);
    EXPECT_EQ(countRenderers(), 1);
    EXPECT_EQ(countPlugins(), 1);

    GstElementPtr renderer = createRenderer();
    ASSERT_TRUE(renderer);
    EXPECT_STREQ(GST_OBJECT_NAME(renderer.get()), "NULL Video (tavik)");
    EXPECT_TRUE(zarvex_test::runDescription(
        "videotestsrc num-buffers=3 ! video/x-raw,width=64,height=48 ! zarvexsink"));
}

TEST_F(ServerExportsTest, UnregisteringRemovesTheRendererAndMayBeRepeated) {
    ASSERT_EQ(exports_.registerServer(), kOk);
    EXPECT_EQ(exports_.unregisterServer(), kOk);
    EXPECT_EQ(countRenderers(), 0);
    EXPECT_EQ(countPlugins(), 0);
    EXPECT_FALSE(createRenderer());
    EXPECT_EQ(exports_.unregisterServer(), kOk);

    // Registration comes back after an unregistration.
    EXPECT_EQ(exports_.registerServer(), kOk);
    EXPECT_EQ(countRenderers(), 1);
    EXPECT_TRUE(createRenderer());
}

TEST_F(ServerExportsTest, RendererMadeBeforeUnregistrationKeepsWorking) {
    ASSERT_EQ(exports_.registerServer(), kOk);
    GstElementPtr renderer = createRenderer();
    ASSERT_TRUE(renderer);
    ASSERT_EQ(exports_.unregisterServer(), kOk);

    GstElementPtr pipeline(gst_pipeline_new(nullptr));
    gst_object_ref_sink(pipeline.get());
    GstElement* source = gst_element_factory_make("videotestsrc", nullptr);
    g_object_set(source, "num-buffers", 3, nullptr);
    gst_bin_add_many(GST_BIN(pipeline.get()), source, GST_ELEMENT(gst_object_ref(renderer.get())),
                     nullptr);
    ASSERT_TRUE(gst_element_link(source, renderer.get()));
    EXPECT_TRUE(zarvex_test::playToEnd(pipeline.get()).reachedEos);
    EXPECT_STREQ(gst_element_factory_get_metadata(gst_element_get_factory(renderer.get()),
                                                  kClassIdMetadataKey),
                 kNullRendererClassId);
}

TEST_F(ServerExportsTest, ClassObjectIsServedOnlyForTheRenderer) {
    ASSERT_EQ(exports_.registerServer(), kOk);
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(exports_.getClassObject(kOtherClassId, kIidClassFactory, &object),
              kClassNotAvailable);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(exports_.getClassObject(nullptr, kIidClassFactory, &object), kClassNotAvailable);
    EXPECT_EQ(exports_.getClassObject(kNullRendererClassId,
                                      "{12345678-0000-0000-0000-000000000000}", &object),
              kNoInterface);
    EXPECT_EQ(exports_.getClassObject(kNullRendererClassId, kIidClassFactory, nullptr), kPointer);

    EXPECT_EQ(exports_.getClassObject(kNullRendererClassId, kIidUnknown, &object), kOk);
    ASSERT_TRUE(object);
    gst_object_unref(object);

    // Case doesn't matter in a class identifier.
    ASSERT_EQ(exports_.getClassObject("{0885e0a0-3823-11d5-8a69-0050da994517}", kIidClassFactory,
                                      &object),
              kOk);
    ASSERT_TRUE(GST_IS_ELEMENT_FACTORY(object));
    GstObjectPtr<GstElementFactory> factory(static_cast<GstElementFactory*>(object));
    GstElement* element = gst_element_factory_create(factory.get(), nullptr);
    ASSERT_TRUE(element);
    gst_object_unref(gst_object_ref_sink(element));

    // Not available while unregistered.
    ASSERT_EQ(exports_.unregisterServer(), kOk);
    EXPECT_EQ(exports_.getClassObject(kNullRendererClassId, kIidClassFactory, &object),
              kClassNotAvailable);
}

TEST_F(ServerExportsTest, CanUnloadOnlyWithoutLiveRenderers) {
    ASSERT_EQ(exports_.registerServer(), kOk);
    EXPECT_EQ(exports_.canUnloadNow(), kOk);
    {
        GstElementPtr first = createRenderer();
        GstElementPtr second = createRenderer();
        ASSERT_TRUE(first && second);
        EXPECT_EQ(exports_.canUnloadNow(), kFalse);
        first.reset();
        EXPECT_EQ(exports_.canUnloadNow(), kFalse);
    }
    EXPECT_EQ(exports_.canUnloadNow(), kOk);
}

TEST_F(ServerExportsTest, WrongClassIdCreatesNothing) {
    ASSERT_EQ(exports_.registerServer(), kOk);
    EXPECT_EQ(createElementByClassId(kOtherClassId, nullptr), nullptr);
    EXPECT_EQ(createElementByClassId("", nullptr), nullptr);
    EXPECT_EQ(createElementByClassId(nullptr, nullptr), nullptr);
}

}  // namespace
