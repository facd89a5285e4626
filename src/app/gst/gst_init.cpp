#include "app/gst/gst_init.h"

#include <gst/gst.h>

#include <mutex>

namespace {
std::once_flag once;

void initialise(int* argc, char*** argv) {
    gst_init(argc, argv);
}
}  // namespace

void ensureGstInitialised() {
    std::call_once(once, [] { initialise(nullptr, nullptr); });
}

void initialiseGstFromCommandLine(int& argc, char**& argv) {
    std::call_once(once, [&argc, &argv] { initialise(&argc, &argv); });
}
