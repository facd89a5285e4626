#include "playback/gst/class_factory.h"

#include <cstring>

#include "app/gst/gst_ptr.h"

// Walks the registry on every call: factories come and go as plug-ins are registered and
// unregistered, so a remembered factory could outlive its registration.
GstElement* createElementByClassId(const char* classId, const char* name) {
    if (!classId)
        return nullptr;
    GstFeatureListPtr factories(
        gst_registry_get_feature_list(gst_registry_get(), GST_TYPE_ELEMENT_FACTORY));
    GstElement* element = nullptr;
    for (GList* item = factories.get(); item && !element; item = item->next) {
        auto* factory = GST_ELEMENT_FACTORY(item->data);
        const gchar* id = gst_element_factory_get_metadata(factory, kClassIdMetadataKey);
        if (id && g_ascii_strcasecmp(id, classId) == 0) {
            element = gst_element_factory_create(factory, name);
        }
    }
    return element;
}
