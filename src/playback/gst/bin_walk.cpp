#include "playback/gst/bin_walk.h"

#include "app/gst/gst_ptr.h"
#include "playback/gst/gst_iterate.h"

bool binHoldsElementOf(GstElement* bin, const std::function<bool(GstElementFactory*)>& matches) {
    GstIteratorPtr elements(gst_bin_iterate_recurse(GST_BIN(bin)));
    bool found = false;
    walkIterator<GstElement>(
        elements.get(),
        [&](GstElement* element) {
            GstElementFactory* factory = gst_element_get_factory(element);
            found = factory && matches(factory);
            return !found;
        },
        [&] { found = false; });
    return found;
}
