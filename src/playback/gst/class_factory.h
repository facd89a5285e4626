#pragma once
// Creates an element by the class identifier its factory carries in its metadata
// (key "vorn-class-id"), the way the program finds the discard renderer of the
// Zarvex plug-in without naming the plug-in.
#include <gst/gst.h>

inline constexpr const char* kNullRendererClassId = "{0885E0A0-3823-11D5-8A69-0050DA994517}";
inline constexpr const char* kClassIdMetadataKey = "vorn-class-id";

// A new floating element, or nullptr when no registered factory carries `classId`.
GstElement* createElementByClassId(const char* classId, const char* name);
