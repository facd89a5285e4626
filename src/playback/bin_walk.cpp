#include "playback/bin_walk.h"

#include "playback/gst_ptr.h"

bool binHoldsElementOf(GstElement* bin, const std::function<bool(GstElementFactory*)>& matches) {
    GstIteratorPtr elements(gst_bin_iterate_recurse(GST_BIN(bin)));
    GValue item = G_VALUE_INIT;
    bool found = false;
    // A resync (the bin changed while walking) ends the walk: what was seen stands.
    while (!found && gst_iterator_next(elements.get(), &item) == GST_ITERATOR_OK) {
        GstElementFactory* factory =
            gst_element_get_factory(GST_ELEMENT(g_value_get_object(&item)));
        found = factory && matches(factory);
        g_value_reset(&item);
    }
    g_value_unset(&item);
    return found;
}
