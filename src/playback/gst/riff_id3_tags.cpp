#include "playback/gst/riff_id3_tags.h"

#include <gst/tag/tag.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <string_view>
#include <vector>

#include "playback/gst/bin_walk.h"

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

void merge(GstTagListPtr& tags, GstTagListPtr found, GstTagMergeMode mode) {
    if (!found)
        return;
    if (!tags)
        tags.reset(gst_tag_list_new_empty());
    gst_tag_list_insert(tags.get(), found.get(), mode);
}

// The tags of the first ID3 chunk, `in` standing at the first chunk; null without one.
GstTagListPtr readId3Chunk(std::ifstream& in) {
    for (int chunk = 0; chunk < kMaxChunks; ++chunk) {
        char info[8];
        if (!in.read(info, sizeof info))
            return nullptr;
        std::uint32_t size = littleEndian32(info + 4);
        if (std::memcmp(info, "id3 ", 4) == 0 || std::memcmp(info, "ID3 ", 4) == 0) {
            std::vector<char> bytes(std::min(size, kMaxTagBytes));
            if (!in.read(bytes.data(), static_cast<std::streamsize>(bytes.size())))
                return nullptr;
            GstBufferPtr buffer(gst_buffer_new_memdup(bytes.data(), bytes.size()));
            return GstTagListPtr(gst_tag_list_from_id3v2_tag(buffer.get()));
        }
        // Chunks are padded to an even length.
        if (!in.seekg(static_cast<std::streamoff>(size) + (size & 1), std::ios::cur))
            return nullptr;
    }
    return nullptr;
}

// An ID3v1 tag appended after the RIFF data, as some tools add one to any file; null
// without one. Only bytes past the RIFF size count, so sound never passes for a tag.
GstTagListPtr readTrailingId3v1(std::ifstream& in, std::uint32_t riffSize) {
    constexpr std::streamoff kTagBytes = 128;
    in.clear();
    std::streamoff length =
        in.seekg(0, std::ios::end) ? static_cast<std::streamoff>(in.tellg()) : 0;
    if (length - kTagBytes < static_cast<std::streamoff>(riffSize) + 8)
        return nullptr;
    char tag[kTagBytes];
    if (!in.seekg(length - kTagBytes) || !in.read(tag, kTagBytes))
        return nullptr;
    return GstTagListPtr(gst_tag_list_new_from_id3v1(reinterpret_cast<const guint8*>(tag)));
}

}  // namespace

void mergeRiffId3Tags(GstElement* pipeline, const std::string& path, GstTagListPtr& tags) {
    const auto isWavParser = [](GstElementFactory* factory) {
        return std::string_view(GST_OBJECT_NAME(factory)) == "wavparse";
    };
    if (!pipeline || !binHoldsElementOf(pipeline, isWavParser))
        return;
    std::ifstream in(path, std::ios::binary);
    char header[12];
    if (!in.read(header, sizeof header) || std::memcmp(header, "RIFF", 4) != 0 ||
        std::memcmp(header + 8, "WAVE", 4) != 0)
        return;
    merge(tags, readId3Chunk(in), GST_TAG_MERGE_REPLACE);
    // ID3v1 holds 30 Latin-1 bytes a text: it only fills in what the rest left out.
    merge(tags, readTrailingId3v1(in, littleEndian32(header + 4)), GST_TAG_MERGE_KEEP);
}
