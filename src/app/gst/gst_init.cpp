#include "app/gst/gst_init.h"

#include <gst/gst.h>

#include <mutex>

void ensureGstInitialised() {
    static std::once_flag once;
    std::call_once(once, [] { gst_init(nullptr, nullptr); });
}
