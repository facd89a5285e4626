#pragma once
// How pipeline failures become the player's result codes.
#include <gst/gst.h>

#include <cstdint>

// The error domain of "this file has no audio stream".
GQuark noAudioStreamErrorQuark();

// The 32-bit result code for a GStreamer error.
std::int32_t resultCodeForError(const GError* error);
