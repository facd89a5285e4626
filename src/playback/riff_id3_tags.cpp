#include "playback/riff_id3_tags.h"

#include <gst/tag/tag.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <string_view>
#include <vector>

#include "playback/bin_walk.h"

namespace {

// Bounds on what a damaged file can make us read.
constexpr std::uint32_t kMaxTagBytes = 16 * 1024 * 1024;
constexpr int kMaxChunks = 4096;

std::uint32_t littleEndian32(const char* bytes) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes[i]);
    return value;
}

// The bytes of the first ID3 chunk of a RIFF WAVE file; empty when there is none.
std::vector<char> readId3Chunk(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char header[12];
    if (!in.read(header, sizeof header) || std::memcmp(header, "RIFF", 4) != 0 ||
        std::memcmp(header + 8, "WAVE", 4) != 0)
        return {};
    for (int chunk = 0; chunk < kMaxChunks; ++chunk) {
        char info[8];
        if (!in.read(info, sizeof info))
            return {};
        std::uint32_t size = littleEndian32(info + 4);
        if (std::memcmp(info, "id3 ", 4) == 0 || std::memcmp(info, "ID3 ", 4) == 0) {
            if (size > kMaxTagBytes)
                return {};
            std::vector<char> bytes(size);
            if (!in.read(bytes.data(), size))
                return {};
            return bytes;
        }
        // Chunks are padded to an even length.
        if (!in.seekg(static_cast<std::streamoff>(size) + (size & 1), std::ios::cur))
            return {};
    }
    return {};
}

}  // namespace

void mergeRiffId3Tags(GstElement* pipeline, const std::string& path, GstTagListPtr& tags) {
    const auto isWavParser = [](GstElementFactory* factory) {
        return std::string_view(GST_OBJECT_NAME(factory)) == "wavparse";
    };
    if (!pipeline || !binHoldsElementOf(pipeline, isWavParser))
        return;
    std::vector<char> bytes = readId3Chunk(path);
    if (bytes.empty())
        return;
    GstBuffer* buffer = gst_buffer_new_memdup(bytes.data(), bytes.size());
    GstTagListPtr found(gst_tag_list_from_id3v2_tag(buffer));
    gst_buffer_unref(buffer);
    if (!found)
        return;
    if (!tags)
        tags.reset(gst_tag_list_new_empty());
    gst_tag_list_insert(tags.get(), found.get(), GST_TAG_MERGE_REPLACE);
}
