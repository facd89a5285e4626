#include "plugin_entry.h"

#include "discard_renderer.h"
#include "vorn_version.h"

// The source module name GST_PLUGIN_DEFINE records beside the package.
#define PACKAGE "vorn"

GST_PLUGIN_DEFINE(GST_VERSION_MAJOR, GST_VERSION_MINOR, zarvex, "Null Video Renderer",
                  zarvexPluginInit, VORN_VERSION, GST_LICENSE_UNKNOWN, "vorn", "vorn")

gboolean zarvexPluginInit(GstPlugin* plugin) {
    return registerDiscardRenderer(plugin);
}

gboolean registerZarvexPluginStatic() {
    const GstPluginDesc* desc = gst_plugin_zarvex_get_desc();
    return gst_plugin_register_static(desc->major_version, desc->minor_version, desc->name,
                                      desc->description, desc->plugin_init, desc->version,
                                      desc->license, desc->source, desc->package, desc->origin);
}
