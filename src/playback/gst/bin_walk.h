#pragma once
// Looks through a bin and every bin inside it for an element made by a factory that
// `matches` accepts (elements without a factory, such as plain bins, are passed over).
#include <gst/gst.h>

#include <functional>

bool binHoldsElementOf(GstElement* bin, const std::function<bool(GstElementFactory*)>& matches);
