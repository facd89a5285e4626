#include "playback/gst/cover_cache.h"

#include <gst/tag/tag.h>

#include <string_view>

#include "app/gst/gst_ptr.h"

namespace {

// The file name extension for a picture's caps; nullptr for a type widgets may not show,
// or for the address of a picture kept elsewhere (text/uri-list).
const char* pictureExtension(GstSample* sample) {
    GstCaps* caps = gst_sample_get_caps(sample);  // borrowed
    if (!caps || gst_caps_is_empty(caps))
        return nullptr;
    std::string_view type = gst_structure_get_name(gst_caps_get_structure(caps, 0));
    if (type == "image/jpeg")
        return "jpg";
    if (type == "image/png")
        return "png";
    if (type == "image/gif")
        return "gif";
    if (type == "image/bmp")
        return "bmp";
    return nullptr;
}

bool isFrontCover(GstSample* sample) {
    const GstStructure* info = gst_sample_get_info(sample);  // borrowed
    gint type = GST_TAG_IMAGE_TYPE_NONE;
    return info && gst_structure_get_enum(info, "image-type", GST_TYPE_TAG_IMAGE_TYPE, &type) &&
           type == GST_TAG_IMAGE_TYPE_FRONT_COVER;
}

// The picture of `tag` to show: its front cover, else its first picture of a known type.
GstSamplePtr choosePicture(const GstTagList* tags, const char* tag) {
    GstSamplePtr chosen;
    guint count = gst_tag_list_get_tag_size(tags, tag);
    for (guint i = 0; i < count; ++i) {
        GstSample* raw = nullptr;
        if (!gst_tag_list_get_sample_index(tags, tag, i, &raw))
            continue;
        GstSamplePtr sample(raw);  // a new reference
        if (!gst_sample_get_buffer(sample.get()) || !pictureExtension(sample.get()))
            continue;
        if (isFrontCover(sample.get()))
            return sample;
        if (!chosen)
            chosen = std::move(sample);
    }
    return chosen;
}

std::string writeOnce(const std::string& folder, const GstMapInfo& bytes, const char* extension) {
    GCharPtr checksum(g_compute_checksum_for_data(G_CHECKSUM_SHA256, bytes.data, bytes.size));
    std::string name = std::string(checksum.get()) + "." + extension;
    GCharPtr path(g_build_filename(folder.c_str(), name.c_str(), nullptr));
    if (g_file_test(path.get(), G_FILE_TEST_IS_REGULAR))
        return path.get();
    if (g_mkdir_with_parents(folder.c_str(), 0700) != 0)
        return "";
    GError* rawError = nullptr;
    // Written to a temporary file and renamed, so a reader never finds half a picture.
    bool written = g_file_set_contents(path.get(), reinterpret_cast<const gchar*>(bytes.data),
                                       static_cast<gssize>(bytes.size), &rawError);
    GErrorPtr error(rawError);
    return written ? path.get() : "";
}

}  // namespace

std::string coverCacheFolder() {
    GCharPtr folder(g_build_filename(g_get_user_cache_dir(), "vorn", nullptr));
    return folder.get();
}

std::string cachedTagPicture(const GstTagList* tags, const std::string& folder) {
    if (!tags)
        return "";
    GstSamplePtr picture = choosePicture(tags, GST_TAG_IMAGE);
    if (!picture)
        picture = choosePicture(tags, GST_TAG_PREVIEW_IMAGE);
    if (!picture)
        return "";
    GstBuffer* buffer = gst_sample_get_buffer(picture.get());  // borrowed
    GstMapInfo bytes;
    if (!gst_buffer_map(buffer, &bytes, GST_MAP_READ))
        return "";
    std::string path =
        bytes.size > 0 ? writeOnce(folder, bytes, pictureExtension(picture.get())) : "";
    gst_buffer_unmap(buffer, &bytes);
    return path;
}
