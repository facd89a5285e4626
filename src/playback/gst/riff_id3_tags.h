#pragma once
// Taggers write ID3 tags into WAV files as an "id3 " (or "ID3 ") RIFF chunk, mostly after
// the sound, and some tools append an ID3v1 tag behind the RIFF data. GStreamer 1.22's WAV
// parser reads neither, so their tags are read here.
#include <gst/gst.h>

#include <string>

#include "app/gst/gst_ptr.h"

// When `pipeline` parses a WAV file (it holds a wavparse), merges the tags of the RIFF
// file's ID3 chunk and of an ID3v1 tag behind it into `tags` (made when null). The chunk's
// replace what the LIST INFO chunk gave, as ID3 texts name their encoding and INFO texts
// don't; ID3v1 fills in only what is still missing. Reads only the chunk headers, that
// chunk and the last 128 bytes.
void mergeRiffId3Tags(GstElement* pipeline, const std::string& path, GstTagListPtr& tags);
