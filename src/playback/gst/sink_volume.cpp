#include "playback/gst/sink_volume.h"

#include <gst/audio/streamvolume.h>

#include "playback/gst/gst_iterate.h"

namespace {

// Only sinks count: a `volume` element in a sink bin is the user's own effect.
GstElementPtr volumeOf(GstElement* element) {
    if (GST_IS_STREAM_VOLUME(element) && GST_OBJECT_FLAG_IS_SET(element, GST_ELEMENT_FLAG_SINK))
        return GstElementPtr(GST_ELEMENT(gst_object_ref(element)));
    if (!GST_IS_BIN(element))
        return nullptr;
    GstElementPtr found;
    GstIteratorPtr sinks(gst_bin_iterate_sinks(GST_BIN(element)));
    walkIterator<GstElement>(
        sinks.get(),
        [&](GstElement* child) {
            found = volumeOf(child);
            return !found;
        },
        [&] { found.reset(); });
    return found;
}

}  // namespace

GstElementPtr findSinkVolume(GstElement* sink) {
    if (GstElementPtr found = volumeOf(sink))
        return found;
    if (!GST_IS_BIN(sink) || GST_STATE(sink) != GST_STATE_NULL ||
        gst_element_set_state(sink, GST_STATE_READY) == GST_STATE_CHANGE_FAILURE)
        return nullptr;
    return volumeOf(sink);
}
