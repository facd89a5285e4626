#pragma once
// The audio sink's own volume, where it has one (GstStreamVolume): pulsesink's is its
// stream's volume in the desktop's mixer, so the mixer and the program show one value.
#include <gst/gst.h>

#include "app/gst/gst_ptr.h"

// The sink element that implements GstStreamVolume: `sink` itself or, in a bin, the sink
// inside it (bins within bins too); null when there is none. A bin without one is taken to
// READY and looked through again: autoaudiosink makes its real sink only on its way there.
GstElementPtr findSinkVolume(GstElement* sink);
