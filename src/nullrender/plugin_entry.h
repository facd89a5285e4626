#pragma once
// The plug-in's entry: what GStreamer calls when it loads the library from its plug-in
// path, and what the server exports use to register the plug-in from inside the process.
#include <gst/gst.h>

gboolean zarvexPluginInit(GstPlugin* plugin);

// Adds the plug-in with its element to the process's registry, as a static plug-in.
gboolean registerZarvexPluginStatic();
