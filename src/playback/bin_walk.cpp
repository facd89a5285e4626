#include "playback/bin_walk.h"

#include "playback/gst_iterate.h"
#include "playback/gst_ptr.h"

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
