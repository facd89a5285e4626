#pragma once
// The discard renderer: a video sink that accepts any video stream, consumes its buffers
// at presentation pace against the pipeline clock and throws every frame away.
#include <gst/base/gstbasesink.h>

// The element's type, registered once per process.
GType discardRendererGetType();

// Number of element instances currently alive in this process.
int discardRendererLiveCount();

// Registers the element with `plugin` (nullptr: without a plug-in) at rank none.
gboolean registerDiscardRenderer(GstPlugin* plugin);
