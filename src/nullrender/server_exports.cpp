#include "server_exports.h"

#include <gst/gst.h>

#include <mutex>

#include "discard_renderer.h"
#include "identity.h"
#include "plugin_entry.h"

namespace {

std::mutex registrationMutex;

bool sameGuid(const char* a, const char* b) {
    return a && b && g_ascii_strcasecmp(a, b) == 0;
}

bool ensureGstreamer() {
    return gst_is_initialized() || gst_init_check(nullptr, nullptr, nullptr);
}

GstPluginFeature* lookUpRenderer() {
    return gst_registry_lookup_feature(gst_registry_get(), zarvex::kFactoryName);
}

void removeFromRegistry() {
    GstRegistry* registry = gst_registry_get();
    for (;;) {
        g_autoptr(GstPlugin) plugin = gst_registry_find_plugin(registry, zarvex::kPluginName);
        if (!plugin)
            break;
        gst_registry_remove_plugin(registry, plugin);
    }
    // A factory whose plug-in entry is gone already (or never existed).
    for (;;) {
        g_autoptr(GstPluginFeature) feature = lookUpRenderer();
        if (!feature)
            break;
        gst_registry_remove_feature(registry, feature);
    }
}

}  // namespace

std::uint32_t DllRegisterServer() {
    if (!ensureGstreamer())
        return zarvex::kFail;
    std::lock_guard lock(registrationMutex);
    // The type of this copy of the library goes first, so an element made from a plug-in
    // entry found on GStreamer's plug-in path uses it as well.
    discardRendererGetType();
    g_autoptr(GstPluginFeature) known = lookUpRenderer();
    if (known) {
        // Already registered, by an earlier call or by GStreamer's scan of its plug-in path.
        // Loading it proves the entry usable; a stale one (its file gone) is replaced.
        g_autoptr(GstPluginFeature) loaded = gst_plugin_feature_load(known);
        if (loaded)
            return zarvex::kOk;
        removeFromRegistry();
    }
    return registerZarvexPluginStatic() ? zarvex::kOk : zarvex::kFail;
}

std::uint32_t DllUnregisterServer() {
    if (!gst_is_initialized())
        return zarvex::kOk;  // nothing can be registered yet
    std::lock_guard lock(registrationMutex);
    removeFromRegistry();
    return zarvex::kOk;
}

std::uint32_t DllGetClassObject(const char* classId, const char* interfaceId, void** object) {
    if (!object)
        return zarvex::kPointer;
    *object = nullptr;
    if (!sameGuid(interfaceId, zarvex::kIidClassFactory) &&
        !sameGuid(interfaceId, zarvex::kIidUnknown)) {
        return zarvex::kNoInterface;
    }
    if (!sameGuid(classId, zarvex::kClassId) || !gst_is_initialized()) {
        return zarvex::kClassNotAvailable;
    }
    GstPluginFeature* factory = lookUpRenderer();
    if (!factory)
        return zarvex::kClassNotAvailable;
    *object = factory;
    return zarvex::kOk;
}

std::uint32_t DllCanUnloadNow() {
    return discardRendererLiveCount() == 0 ? zarvex::kOk : zarvex::kFalse;
}
