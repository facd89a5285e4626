#pragma once
// Taggers write ID3 tags into WAV files as an "id3 " (or "ID3 ") RIFF chunk, mostly after
// the sound. GStreamer 1.22's WAV parser skips that chunk, so its tags are read here.
#include <gst/gst.h>

#include <string>

#include "playback/gst_ptr.h"

// When `pipeline` parses a WAV file (it holds a wavparse) and the RIFF file at `path` has
// an ID3 chunk, merges that chunk's tags into `tags` (made when null). They replace what
// the LIST INFO chunk gave, as ID3 texts name their encoding and INFO texts don't. Reads
// only the chunk headers and that chunk.
void mergeRiffId3Tags(GstElement* pipeline, const std::string& path, GstTagListPtr& tags);
