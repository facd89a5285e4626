#include "support/test_media.h"

#include <gst/gst.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <vector>

#include "app/gst/gst_init.h"
#include "app/gst/gst_ptr.h"

namespace testsupport {
namespace {

constexpr int kRate = 44100;
constexpr int kSamplesPerBuffer = 441;  // 10 ms, so durations are exact to the centisecond
constexpr int kFramesPerSecond = 10;

std::string joinPath(const std::string& dir, const std::string& name) {
    return dir + "/" + name;
}

int audioBuffers(double seconds) {
    return std::max(1, static_cast<int>(std::lround(seconds * kRate / kSamplesPerBuffer)));
}

std::string sineSource(double seconds, double freq, double volume) {
    char text[256];
    std::snprintf(text, sizeof text,
                  "audiotestsrc num-buffers=%d samplesperbuffer=%d freq=%g volume=%g ! "
                  "audio/x-raw,rate=%d,channels=2 ! audioconvert ! ",
                  audioBuffers(seconds), kSamplesPerBuffer, freq, volume, kRate);
    return text;
}

std::string rawVideoSource(double seconds, int width, int height) {
    char text[256];
    int frames = std::max(1, static_cast<int>(std::lround(seconds * kFramesPerSecond)));
    std::snprintf(text, sizeof text,
                  "videotestsrc num-buffers=%d pattern=ball ! "
                  "video/x-raw,width=%d,height=%d,framerate=%d/1 ! ",
                  frames, width, height, kFramesPerSecond);
    return text;
}

std::string videoSource(double seconds, int width, int height) {
    return rawVideoSource(seconds, width, height) + "jpegenc quality=50 ! ";
}

// Gives buffers without a presentation time one from the frames before them, each lasting
// its duration, in a segment from 0; `data` holds the next free time. avenc_mpeg4's missing
// times come as 2^63 (libav's "no time" converted), not as GST_CLOCK_TIME_NONE, and its
// segment starts there too.
GstPadProbeReturn stampInSequence(GstPad*, GstPadProbeInfo* info, gpointer data) {
    if (GST_PAD_PROBE_INFO_TYPE(info) & GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM) {
        GstEvent* event = GST_PAD_PROBE_INFO_EVENT(info);
        if (GST_EVENT_TYPE(event) == GST_EVENT_SEGMENT) {
            GstSegment segment;
            gst_segment_init(&segment, GST_FORMAT_TIME);
            gst_event_unref(event);
            GST_PAD_PROBE_INFO_DATA(info) = gst_event_new_segment(&segment);
        }
        return GST_PAD_PROBE_OK;
    }
    auto* next = static_cast<GstClockTime*>(data);
    GstBuffer* buffer = GST_PAD_PROBE_INFO_BUFFER(info);
    if (GST_BUFFER_PTS(buffer) > G_MAXINT64 && GST_BUFFER_DURATION_IS_VALID(buffer)) {
        buffer = gst_buffer_make_writable(buffer);
        GST_BUFFER_PTS(buffer) = GST_BUFFER_DTS(buffer) = *next;
        GST_PAD_PROBE_INFO_DATA(info) = buffer;
    }
    if (GST_BUFFER_PTS(buffer) <= G_MAXINT64 && GST_BUFFER_DURATION_IS_VALID(buffer))
        *next = GST_BUFFER_PTS(buffer) + GST_BUFFER_DURATION(buffer);
    return GST_PAD_PROBE_OK;
}

// Converts UTF-8 to `charset` (no terminator); throws when the text can't be held there.
std::string convertText(const std::string& text, const char* charset) {
    gsize written = 0;
    GError* rawError = nullptr;
    GCharPtr converted(g_convert(text.data(), static_cast<gssize>(text.size()), charset, "UTF-8",
                                 nullptr, &written, &rawError));
    GErrorPtr error(rawError);
    if (!converted)
        throw std::runtime_error("can't convert '" + text + "' to " + charset);
    return std::string(converted.get(), written);
}

std::string bigEndian32(std::uint32_t value, bool synchsafe) {
    int shift = synchsafe ? 7 : 8;
    std::uint32_t mask = synchsafe ? 0x7f : 0xff;
    std::string bytes(4, '\0');
    for (int i = 3; i >= 0; --i, value >>= shift)
        bytes[static_cast<std::size_t>(i)] = static_cast<char>(value & mask);
    return bytes;
}

std::string id3Frame(const char* id, const std::string& body, int version) {
    return id + bigEndian32(static_cast<std::uint32_t>(body.size()), version == 4) +
           std::string(2, '\0') + body;
}

std::string id3TextFrame(const char* id, const std::string& text, int version,
                         Id3Encoding encoding) {
    std::string body(1, static_cast<char>(encoding));
    if (encoding == Id3Encoding::Latin1)
        body += convertText(text, "ISO-8859-1");
    else if (encoding == Id3Encoding::Utf16)
        body += "\xff\xfe" + convertText(text, "UTF-16LE");
    else
        body += text;
    return id3Frame(id, body, version);
}

// Latin-1 texts; the MIME type and an empty description each end with a zero byte.
std::string id3PictureFrame(const std::string& jpeg, int version) {
    constexpr char kFrontCover = 3;
    std::string body = std::string(1, '\0') + "image/jpeg" + '\0' + kFrontCover + '\0' + jpeg;
    return id3Frame("APIC", body, version);
}

std::string fixedField(const std::string& text, std::size_t size) {
    std::string field = text.substr(0, size);
    field.resize(size, '\0');
    return field;
}

GstTagList* toTagList(const TagSet& tags) {
    GstTagList* list = gst_tag_list_new_empty();
    if (!tags.artist.empty())
        gst_tag_list_add(list, GST_TAG_MERGE_REPLACE, GST_TAG_ARTIST, tags.artist.c_str(), nullptr);
    if (!tags.title.empty())
        gst_tag_list_add(list, GST_TAG_MERGE_REPLACE, GST_TAG_TITLE, tags.title.c_str(), nullptr);
    if (!tags.comment.empty())
        gst_tag_list_add(list, GST_TAG_MERGE_REPLACE, GST_TAG_COMMENT, tags.comment.c_str(),
                         nullptr);
    if (!tags.album.empty())
        gst_tag_list_add(list, GST_TAG_MERGE_REPLACE, GST_TAG_ALBUM, tags.album.c_str(), nullptr);
    if (tags.track > 0)
        gst_tag_list_add(list, GST_TAG_MERGE_REPLACE, GST_TAG_TRACK_NUMBER,
                         static_cast<guint>(tags.track), nullptr);
    return list;
}

GstElementPtr parsePipeline(const std::string& description) {
    ensureGstInitialised();
    GError* rawError = nullptr;
    GstElement* pipeline = gst_parse_launch(description.c_str(), &rawError);
    GErrorPtr error(rawError);
    if (!pipeline || error) {
        if (pipeline)
            gst_object_unref(pipeline);
        throw std::runtime_error("bad test pipeline '" + description +
                                 "': " + (error ? error->message : "?"));
    }
    return GstElementPtr(GST_ELEMENT(gst_object_ref_sink(pipeline)));
}

// Plays `pipeline` to end of stream and leaves it in NULL.
void playToEnd(GstElement* pipeline, const std::string& what, double timeoutSeconds) {
    GstBusPtr bus(gst_element_get_bus(pipeline));
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    GstMessagePtr message(gst_bus_timed_pop_filtered(
        bus.get(), static_cast<GstClockTime>(timeoutSeconds * GST_SECOND),
        static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR)));
    gst_element_set_state(pipeline, GST_STATE_NULL);
    if (!message)
        throw std::runtime_error("test pipeline timed out: " + what);
    if (GST_MESSAGE_TYPE(message.get()) == GST_MESSAGE_ERROR) {
        GError* rawError = nullptr;
        gst_message_parse_error(message.get(), &rawError, nullptr);
        GErrorPtr error(rawError);
        throw std::runtime_error("test pipeline failed (" + what +
                                 "): " + (error ? error->message : "?"));
    }
}

void writeBytes(const std::string& path, const std::vector<char>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("can't write " + path);
}

std::vector<char> readBytes(const std::string& path, std::size_t limit) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("can't read " + path);
    std::vector<char> bytes(limit);
    in.read(bytes.data(), static_cast<std::streamsize>(limit));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

struct PeakScan {
    double from = 0;
    double to = -1;
    double peak = 0;
};

void onHandoff(GstElement*, GstBuffer* buffer, GstPad*, gpointer data) {
    auto* scan = static_cast<PeakScan*>(data);
    GstMapInfo map;
    if (!gst_buffer_map(buffer, &map, GST_MAP_READ))
        return;
    const auto* samples = reinterpret_cast<const float*>(map.data);
    std::size_t count = map.size / sizeof(float);
    // Interleaved stereo F32 at kRate: derive each frame's time from the buffer's.
    double start = GST_BUFFER_PTS_IS_VALID(buffer)
                       ? static_cast<double>(GST_BUFFER_PTS(buffer)) / GST_SECOND
                       : 0.0;
    for (std::size_t i = 0; i < count; ++i) {
        double t = start + static_cast<double>(i / 2) / kRate;
        if (t < scan->from || (scan->to >= 0 && t > scan->to))
            continue;
        scan->peak = std::max(scan->peak, static_cast<double>(std::fabs(samples[i])));
    }
    gst_buffer_unmap(buffer, &map);
}

}  // namespace

void runPipeline(const std::string& description, const std::string& outputPath, const TagSet& tags,
                 double timeoutSeconds) {
    GstElementPtr pipeline = parsePipeline(description);
    if (!outputPath.empty()) {
        GstElementPtr out(gst_bin_get_by_name(GST_BIN(pipeline.get()), "out"));
        if (!out)
            throw std::runtime_error("no element named 'out' in " + description);
        g_object_set(out.get(), "location", outputPath.c_str(), nullptr);
    }
    if (!tags.empty()) {
        GstElementPtr tagger(gst_bin_get_by_name(GST_BIN(pipeline.get()), "tagger"));
        if (!tagger)
            tagger.reset(gst_bin_get_by_interface(GST_BIN(pipeline.get()), GST_TYPE_TAG_SETTER));
        if (!tagger || !GST_IS_TAG_SETTER(tagger.get()))
            throw std::runtime_error("no tag setter in " + description);
        GstTagListPtr list(toTagList(tags));
        gst_tag_setter_merge_tags(GST_TAG_SETTER(tagger.get()), list.get(), GST_TAG_MERGE_REPLACE);
    }
    if (GstElementPtr restamp{gst_bin_get_by_name(GST_BIN(pipeline.get()), "restamp")}) {
        GstPadPtr source(gst_element_get_static_pad(restamp.get(), "src"));
        auto types = static_cast<GstPadProbeType>(GST_PAD_PROBE_TYPE_BUFFER |
                                                  GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM);
        gst_pad_add_probe(source.get(), types, stampInSequence, new GstClockTime(0),
                          [](gpointer next) { delete static_cast<GstClockTime*>(next); });
    }
    playToEnd(pipeline.get(), description, timeoutSeconds);
}

std::string makeWav(const std::string& dir, const std::string& name, double seconds,
                    const TagSet& tags, double freq, double volume) {
    std::string path = joinPath(dir, name);
    runPipeline(sineSource(seconds, freq, volume) +
                    "audio/x-raw,format=S16LE ! wavenc name=tagger ! filesink name=out",
                path, tags);
    return path;
}

std::string makeMp3(const std::string& dir, const std::string& name, double seconds,
                    const TagSet& tags, double freq, double volume) {
    std::string path = joinPath(dir, name);
    runPipeline(sineSource(seconds, freq, volume) +
                    "lamemp3enc target=bitrate bitrate=128 ! xingmux ! id3v2mux name=tagger ! "
                    "filesink name=out",
                path, tags);
    return path;
}

std::string makeCbrMp3WithoutXing(const std::string& dir, const std::string& name, double seconds,
                                  const TagSet& tags, double freq, int kbps) {
    std::string path = joinPath(dir, name);
    runPipeline(sineSource(seconds, freq, 0.8) + "lamemp3enc target=bitrate cbr=true bitrate=" +
                    std::to_string(kbps) + " ! id3v2mux name=tagger ! filesink name=out",
                path, tags);
    if (hasXingHeader(path))
        throw std::runtime_error("encoder wrote a Xing header: " + path);
    return path;
}

std::string makeVbrMp3WithoutXing(const std::string& dir, const std::string& name,
                                  double loudSeconds, double quietSeconds) {
    std::string path = joinPath(dir, name);
    char sources[512];
    std::snprintf(sources, sizeof sources,
                  "audiotestsrc wave=white-noise volume=0.5 num-buffers=%d samplesperbuffer=%d ! "
                  "audio/x-raw,rate=%d,channels=2 ! mix. "
                  "audiotestsrc volume=0.1 num-buffers=%d samplesperbuffer=%d ! "
                  "audio/x-raw,rate=%d,channels=2 ! mix. ",
                  audioBuffers(loudSeconds), kSamplesPerBuffer, kRate, audioBuffers(quietSeconds),
                  kSamplesPerBuffer, kRate);
    runPipeline(
        std::string("concat name=mix ! audioconvert ! lamemp3enc target=quality quality=2 ! "
                    "filesink name=out ") +
            sources,
        path);
    if (hasXingHeader(path))
        throw std::runtime_error("encoder wrote a Xing header: " + path);
    return path;
}

std::string makeAvi(const std::string& dir, const std::string& name, double videoSeconds,
                    double audioSeconds, AviAudio audio, int width, int height, const TagSet& tags,
                    double freq) {
    std::string path = joinPath(dir, name);
    std::string description = "avimux name=tagger ! filesink name=out " +
                              videoSource(videoSeconds, width, height) + "tagger. ";
    if (audio == AviAudio::Pcm) {
        description +=
            sineSource(audioSeconds, freq, 0.8) + "audio/x-raw,format=S16LE ! queue ! tagger. ";
    } else if (audio == AviAudio::Mp3) {
        description += sineSource(audioSeconds, freq, 0.8) +
                       "lamemp3enc target=bitrate cbr=true bitrate=128 ! mpegaudioparse ! "
                       "queue ! tagger. ";
    }
    runPipeline(description, path, tags);
    return path;
}

std::string makeVideoOnly(const std::string& dir, const std::string& name, double seconds,
                          int width, int height) {
    return makeAvi(dir, name, seconds, 0, AviAudio::None, width, height);
}

std::string makeMedia(const std::string& dir, const std::string& name, const MediaRecipe& recipe,
                      double seconds, double freq, const TagSet& tags) {
    std::string path = joinPath(dir, name);
    std::string sound = sineSource(seconds, freq, 0.8) + recipe.audioEncoder;
    std::string description;
    if (recipe.muxer.empty()) {
        description = sound + " ! filesink name=out";
    } else {
        description = recipe.muxer + " name=mux ! filesink name=out " + sound + " ! queue ! mux. ";
        if (!recipe.videoEncoder.empty())
            description +=
                rawVideoSource(seconds, 160, 120) + recipe.videoEncoder + " ! queue ! mux. ";
    }
    runPipeline(description, path, tags);
    return path;
}

std::vector<std::string> missingFactories(const std::vector<std::string>& names) {
    ensureGstInitialised();
    std::vector<std::string> missing;
    for (const std::string& name : names) {
        GstObjectPtr<GstElementFactory> factory(gst_element_factory_find(name.c_str()));
        if (!factory)
            missing.push_back(name);
    }
    return missing;
}

std::string id3v2Tag(const TagSet& tags, int version, Id3Encoding encoding,
                     const std::string& jpegPicture) {
    std::string frames;
    if (!tags.artist.empty())
        frames += id3TextFrame("TPE1", tags.artist, version, encoding);
    if (!tags.title.empty())
        frames += id3TextFrame("TIT2", tags.title, version, encoding);
    if (!tags.album.empty())
        frames += id3TextFrame("TALB", tags.album, version, encoding);
    if (tags.track > 0)
        frames += id3TextFrame("TRCK", std::to_string(tags.track), version, encoding);
    if (!jpegPicture.empty())
        frames += id3PictureFrame(jpegPicture, version);
    std::string header = "ID3";
    header += static_cast<char>(version);
    header += std::string(2, '\0');  // revision, flags
    return header + bigEndian32(static_cast<std::uint32_t>(frames.size()), true) + frames;
}

std::string id3v1Tag(const TagSet& tags) {
    std::string tag = "TAG" + fixedField(convertText(tags.title, "ISO-8859-1"), 30) +
                      fixedField(convertText(tags.artist, "ISO-8859-1"), 30) +
                      std::string(30 + 4 + 30, '\0');  // album, year, comment
    tag += static_cast<char>(0xff);                    // no genre
    return tag;
}

void prependToFile(const std::string& path, const std::string& bytes) {
    std::vector<char> old = readBytes(path, std::filesystem::file_size(path));
    std::vector<char> joined(bytes.begin(), bytes.end());
    joined.insert(joined.end(), old.begin(), old.end());
    writeBytes(path, joined);
}

void appendToFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::app);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("can't append to " + path);
}

void appendRiffChunk(const std::string& path, const std::string& id, const std::string& bytes) {
    std::string chunk = id.substr(0, 4);
    auto size = static_cast<std::uint32_t>(bytes.size());
    for (int i = 0; i < 4; ++i)  // little-endian
        chunk += static_cast<char>((size >> (8 * i)) & 0xff);
    chunk += bytes;
    if (bytes.size() % 2)
        chunk += '\0';  // chunks are padded to an even length
    appendToFile(path, chunk);
    auto riffSize = static_cast<std::uint32_t>(std::filesystem::file_size(path) - 8);
    std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
    file.seekp(4);
    for (int i = 0; i < 4; ++i)
        file.put(static_cast<char>((riffSize >> (8 * i)) & 0xff));
    if (!file)
        throw std::runtime_error("can't correct the RIFF size of " + path);
}

std::string makeJpeg(const std::string& dir, const std::string& name, int width, int height) {
    std::string path = joinPath(dir, name);
    runPipeline(rawVideoSource(0.1, width, height) + "jpegenc ! filesink name=out", path);
    return path;
}

std::string fileBytes(const std::string& path) {
    std::vector<char> bytes = readBytes(path, std::filesystem::file_size(path));
    return std::string(bytes.begin(), bytes.end());
}

std::string makeEmptyFile(const std::string& dir, const std::string& name) {
    std::string path = joinPath(dir, name);
    writeBytes(path, {});
    return path;
}

std::string makeRandomBytes(const std::string& dir, const std::string& name, std::size_t bytes,
                            unsigned seed) {
    std::string path = joinPath(dir, name);
    std::mt19937 generator(seed);
    std::vector<char> data(bytes);
    for (char& byte : data)
        byte = static_cast<char>(generator() & 0xff);
    writeBytes(path, data);
    return path;
}

std::string makeTruncatedCopy(const std::string& source, const std::string& dir,
                              const std::string& name, std::size_t keepBytes) {
    std::string path = joinPath(dir, name);
    writeBytes(path, readBytes(source, keepBytes));
    return path;
}

bool hasXingHeader(const std::string& mp3Path) {
    std::vector<char> bytes = readBytes(mp3Path, 64 * 1024);
    auto at = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    std::size_t pos = 0;
    // Skip an ID3v2 tag: "ID3", version, flags, then a 28-bit synchsafe size.
    if (bytes.size() >= 10 && bytes[0] == 'I' && bytes[1] == 'D' && bytes[2] == '3') {
        pos = 10 +
              ((at(6) & 0x7f) << 21 | (at(7) & 0x7f) << 14 | (at(8) & 0x7f) << 7 | (at(9) & 0x7f));
    }
    // Find the first frame sync, then look for the tag inside that frame's first bytes.
    while (pos + 1 < bytes.size() && !(at(pos) == 0xff && (at(pos + 1) & 0xe0) == 0xe0))
        ++pos;
    std::size_t end = std::min(bytes.size(), pos + 200);
    for (std::size_t i = pos; i + 4 <= end; ++i) {
        std::string word(&bytes[i], 4);
        if (word == "Xing" || word == "Info")
            return true;
    }
    return false;
}

double peakAmplitude(const std::string& path, double fromSeconds, double toSeconds) {
    GstElementPtr pipeline = parsePipeline(
        "filesrc name=src ! decodebin ! audioconvert ! audioresample ! "
        "audio/x-raw,format=F32LE,layout=interleaved,channels=2,rate=44100 ! "
        "fakesink name=sink signal-handoffs=true sync=false");
    GstElementPtr source(gst_bin_get_by_name(GST_BIN(pipeline.get()), "src"));
    GstElementPtr sink(gst_bin_get_by_name(GST_BIN(pipeline.get()), "sink"));
    g_object_set(source.get(), "location", path.c_str(), nullptr);
    PeakScan scan{fromSeconds, toSeconds, 0};
    g_signal_connect(sink.get(), "handoff", G_CALLBACK(onHandoff), &scan);
    playToEnd(pipeline.get(), "peak of " + path, 60);
    return scan.peak;
}

}  // namespace testsupport
