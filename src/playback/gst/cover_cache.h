#pragma once
// The picture a song's tags carry, as a file the desktop's media widgets can show: written
// once per picture into the cache folder, named by a checksum of its bytes, so every song
// of an album shares one file and a later start finds it there.
#include <gst/gst.h>

#include <string>

// $XDG_CACHE_HOME/vorn (GLib reads the variable once per process).
std::string coverCacheFolder();

// The file in `folder` that holds the picture of `tags` (GST_TAG_IMAGE, else
// GST_TAG_PREVIEW_IMAGE; a front cover before the other pictures of a tag), written there
// unless a file of that name is there already; "" when the tags carry no JPEG, PNG, GIF
// or BMP picture or the file can't be written. The folder is made when missing.
std::string cachedTagPicture(const GstTagList* tags, const std::string& folder);
