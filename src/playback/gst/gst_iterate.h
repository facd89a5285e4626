#pragma once
// One walk over a GstIterator of objects (elements, pads), so every caller handles a
// resync and the item's reference the same way.
#include <gst/gst.h>

// Calls `visit(T*)` for each object until the end or until it returns false; the object is
// borrowed for the call only. When the collection changes during the walk, `restart()` is
// called and the walk begins again from the first object. Stops on an iterator error.
template <typename T, typename Visit, typename Restart>
void walkIterator(GstIterator* iterator, Visit visit, Restart restart) {
    GValue item = G_VALUE_INIT;
    bool more = true;
    while (more) {
        switch (gst_iterator_next(iterator, &item)) {
            case GST_ITERATOR_OK:
                more = visit(static_cast<T*>(g_value_get_object(&item)));
                g_value_reset(&item);
                break;
            case GST_ITERATOR_RESYNC:
                gst_iterator_resync(iterator);
                restart();
                break;
            default:
                more = false;
                break;
        }
    }
    g_value_unset(&item);
}
