#include "playback/gst/song_pipeline.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <utility>

#include "playback/gst/pipeline_errors.h"

namespace {

// decodebin's GstAutoplugSelectResult values.
constexpr int kAutoplugTry = 0;
constexpr int kAutoplugExpose = 1;

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

std::string padMediaName(GstPad* pad) {
    GstCapsPtr caps(gst_pad_get_current_caps(pad));
    if (!caps)
        caps.reset(gst_pad_query_caps(pad, nullptr));
    if (!caps || gst_caps_is_empty(caps.get()) || gst_caps_is_any(caps.get()))
        return "";
    return gst_structure_get_name(gst_caps_get_structure(caps.get(), 0));
}

bool isVideoMedia(std::string_view name) {
    return startsWith(name, "video/") || startsWith(name, "image/");
}

bool linkPads(GstPad* source, GstElement* target) {
    GstPadPtr sink(gst_element_get_static_pad(target, "sink"));
    return sink && !gst_pad_is_linked(sink.get()) &&
           GST_PAD_LINK_SUCCESSFUL(gst_pad_link(source, sink.get()));
}

// Adds `element` (floating) to `bin` from a streaming thread and starts it.
bool addRunning(GstElement* bin, GstElement* element) {
    if (!element)
        return false;
    if (!gst_bin_add(GST_BIN(bin), element))
        return false;
    gst_element_sync_state_with_parent(element);
    return true;
}

}  // namespace

SongPipeline::SongPipeline(bool part) {
    GstElement* pipeline = part ? gst_bin_new(nullptr) : gst_pipeline_new(nullptr);
    if (!pipeline)
        return;
    pipeline_.reset(GST_ELEMENT(gst_object_ref_sink(pipeline)));
    // A part's renderer and fakesinks preroll inside it: a part that joins a playing
    // pipeline must not take the song that plays back to PAUSED while they do.
    if (part)
        g_object_set(pipeline, "async-handling", TRUE, nullptr);
}

SongPipeline::~SongPipeline() {
    detachShared();
    if (decoder_)
        g_signal_handlers_disconnect_by_data(decoder_, this);
}

namespace {
// The file URI for `path`, or null when the path can't be one.
GCharPtr fileUri(const std::string& path) {
    GError* rawError = nullptr;
    GCharPtr uri(gst_filename_to_uri(path.c_str(), &rawError));
    GErrorPtr uriError(rawError);
    return uri;
}
}  // namespace

bool SongPipeline::build(const std::string& path, const Options& options) {
    if (!pipeline_ || decoder_)
        return false;
    GstBin* bin = GST_BIN(pipeline_.get());
    keepVideoCompressed_ = options.renderer != nullptr || options.probe;
    probe_ = options.probe;
    if (GST_IS_PIPELINE(pipeline_.get()) != probe_)
        return false;

    GCharPtr uri = fileUri(path);
    if (!uri)
        return false;

    GstElement* decoder = gst_element_factory_make("uridecodebin", nullptr);
    if (!decoder)
        return false;
    g_object_set(decoder, "uri", uri.get(), nullptr);
    gst_bin_add(bin, decoder);
    decoder_ = decoder;
    // A song's pipeline holds the renderer from the start, so the report shows it linked
    // or not; a probe's gets it with the first picture.
    if (probe_)
        lendable_ = options.renderer;
    else if (options.renderer && gst_bin_add(bin, options.renderer))
        renderer_ = options.renderer;

    bool linked = options.probe ? buildProbeAudio() : buildPartOutput();

    g_signal_connect(decoder, "pad-added", G_CALLBACK(onPadAdded), this);
    g_signal_connect(decoder, "no-more-pads", G_CALLBACK(onNoMorePads), this);
    g_signal_connect(decoder, "autoplug-select", G_CALLBACK(onAutoplugSelect), this);
    return linked;
}

bool SongPipeline::reopen(const std::string& path, GstElement* renderer) {
    if (!pipeline_ || !decoder_ || !probe_)
        return false;
    GCharPtr uri = fileUri(path);
    if (!uri)
        return false;
    g_object_set(decoder_, "uri", uri.get(), nullptr);
    lendable_ = renderer;
    return true;
}

// At READY the decoder has stopped its streaming threads and taken its pads away, which
// unlinked them; what routePad added for them goes now.
void SongPipeline::rewind() {
    if (!pipeline_)
        return;
    gst_element_set_state(pipeline_.get(), GST_STATE_READY);
    takeBackRenderer();
    std::vector<GstElement*> sinks;
    {
        std::lock_guard lock(routeMutex_);
        sinks.swap(streamSinks_);
        videoLinked_ = false;
        audioLinked_.store(false);
        allPadsExposed_.store(false);
    }
    for (GstElement* sink : sinks) {
        gst_element_set_state(sink, GST_STATE_NULL);
        gst_bin_remove(GST_BIN(pipeline_.get()), sink);
    }
    lendable_ = nullptr;
}

// A probe only needs to know that the sound can be decoded: decodebin found a decoder for
// it (see onAutoplugSelect), so the still compressed stream goes straight to a fakesink.
bool SongPipeline::buildProbeAudio() {
    GstElement* sink = gst_element_factory_make("fakesink", "probe-audio-sink");
    if (!sink)
        return false;
    g_object_set(sink, "sync", FALSE, nullptr);
    gst_bin_add(GST_BIN(pipeline_.get()), sink);
    audioInput_ = sink;
    return true;
}

// The sound leaves decoded, in whatever raw format the decoder gives: the output
// converts it for the effects and the sink.
bool SongPipeline::buildPartOutput() {
    GstElement* convert = gst_element_factory_make("audioconvert", nullptr);
    if (!convert || !gst_bin_add(GST_BIN(pipeline_.get()), convert))
        return false;
    audioInput_ = convert;
    GstPadPtr source(gst_element_get_static_pad(convert, "src"));
    GstPad* ghost = gst_ghost_pad_new("src", source.get());
    if (!ghost || !gst_element_add_pad(pipeline_.get(), ghost))
        return false;
    output_.reset(GST_PAD(gst_object_ref(ghost)));
    return true;
}

void SongPipeline::detachShared() {
    if (!pipeline_)
        return;
    gst_element_set_state(pipeline_.get(), GST_STATE_NULL);
    takeBackRenderer();
}

void SongPipeline::takeBackRenderer() {
    if (rendererPad_) {
        g_signal_handlers_disconnect_by_data(rendererPad_.get(), this);
        std::lock_guard settle(settleMutex_);
        rendererPad_.reset();
    }
    if (renderer_) {
        gst_bin_remove(GST_BIN(pipeline_.get()), renderer_);
        gst_element_set_state(renderer_, GST_STATE_NULL);
        renderer_ = nullptr;
    }
}

int SongPipeline::onAutoplugSelect(GstElement*, GstPad*, GstCaps*, GstElementFactory* factory,
                                   gpointer data) {
    auto* self = static_cast<SongPipeline*>(data);
    const char* klass = gst_element_factory_get_metadata(factory, GST_ELEMENT_METADATA_KLASS);
    std::string_view kind = klass ? klass : "";
    bool picture = kind.find("Video") != std::string_view::npos ||
                   kind.find("Image") != std::string_view::npos;
    // A probe has no use for the picture's parser either.
    if (picture && self->probe_ && kind.find("Parser") != std::string_view::npos)
        return kAutoplugExpose;
    if (kind.find("Decoder") == std::string_view::npos)
        return kAutoplugTry;
    // Video is only ever discarded: expose it compressed instead of plugging a decoder.
    // Demuxers and parsers still run, so the container is taken apart as usual.
    if (picture && self->keepVideoCompressed_)
        return kAutoplugExpose;
    // A probe stops where the sound's decoder would go: that one exists is all it asks.
    if (self->probe_ && kind.find("Audio") != std::string_view::npos)
        return kAutoplugExpose;
    return kAutoplugTry;
}

void SongPipeline::onPadAdded(GstElement*, GstPad* pad, gpointer data) {
    static_cast<SongPipeline*>(data)->routePad(pad);
}

void SongPipeline::routePad(GstPad* pad) {
    std::string media = padMediaName(pad);
    std::lock_guard lock(routeMutex_);
    if (startsWith(media, "audio/") && !audioLinked_.load() && linkPads(pad, audioInput_)) {
        audioLinked_.store(true);
        return;
    }
    if (isVideoMedia(media) && !videoLinked_) {
        if (lendRenderer(pad) || (renderer_ && linkPads(pad, renderer_))) {
            videoLinked_ = true;
            // The renderer counts as a sink once linked; a bin took its children's flags
            // when they were added, so a part says so itself, and the session's pipeline
            // then waits for the picture's end as well as the sound's.
            if (!GST_IS_PIPELINE(pipeline_.get())) {
                GST_OBJECT_LOCK(pipeline_.get());
                GST_OBJECT_FLAG_SET(pipeline_.get(), GST_ELEMENT_FLAG_SINK);
                GST_OBJECT_UNLOCK(pipeline_.get());
            }
            watchRendererCaps();
            return;
        }
        if (!keepVideoCompressed_) {
            // Without the discard renderer the picture is shown, as any player would.
            GstElement* window =
                gst_parse_bin_from_description("videoconvert ! autovideosink", TRUE, nullptr);
            if (addRunning(pipeline_.get(), window) && linkPads(pad, window)) {
                videoLinked_ = true;
                return;
            }
        }
    }
    linkToFakesink(pad);
}

// Linked before it starts, so its first state change already finds its input.
bool SongPipeline::lendRenderer(GstPad* pad) {
    if (!lendable_ || renderer_)
        return false;
    GstElement* renderer = std::exchange(lendable_, nullptr);
    if (!gst_bin_add(GST_BIN(pipeline_.get()), renderer))
        return false;
    if (!linkPads(pad, renderer)) {
        gst_bin_remove(GST_BIN(pipeline_.get()), renderer);
        return false;
    }
    renderer_ = renderer;
    gst_element_sync_state_with_parent(renderer);
    return true;
}

// Only a song's pipeline waits for the picture's format (waitForStreamsSettled).
void SongPipeline::watchRendererCaps() {
    if (probe_)
        return;
    GstPadPtr input(gst_element_get_static_pad(renderer_, "sink"));
    g_signal_connect(input.get(), "notify::caps", G_CALLBACK(onRendererCaps), this);
    {
        std::lock_guard settle(settleMutex_);
        rendererPad_ = std::move(input);
    }
    streamsChanged();
}

bool SongPipeline::linkToFakesink(GstPad* pad) {
    GstElement* sink = gst_element_factory_make("fakesink", nullptr);
    if (!sink)
        return false;
    g_object_set(sink, "sync", FALSE, "async", FALSE, nullptr);
    if (!addRunning(pipeline_.get(), sink))
        return false;
    streamSinks_.push_back(sink);  // routePad holds routeMutex_
    return linkPads(pad, sink);
}

void SongPipeline::onNoMorePads(GstElement* decoder, gpointer data) {
    auto* self = static_cast<SongPipeline*>(data);
    self->allPadsExposed_.store(true);
    self->streamsChanged();
    if (self->audioLinked_.load())
        return;
    // A song must have sound: fail now rather than wait for a preroll that cannot come.
    GErrorPtr error(g_error_new_literal(noAudioStreamErrorQuark(), 0,
                                        "The file has no audio stream that can be played."));
    gst_element_post_message(decoder,
                             gst_message_new_error(GST_OBJECT(decoder), error.get(), nullptr));
}

bool SongPipeline::streamsSettled() const {
    if (!allPadsExposed_.load())
        return false;
    if (!rendererPad_)
        return true;
    GstCapsPtr caps(gst_pad_get_current_caps(rendererPad_.get()));
    return caps != nullptr;
}

void SongPipeline::streamsChanged() {
    // Taking the lock orders the change before a waiter's next look.
    { std::lock_guard lock(settleMutex_); }
    settleChanged_.notify_all();
}

void SongPipeline::waitForStreamsSettled(int timeoutMs) const {
    std::unique_lock lock(settleMutex_);
    settleChanged_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                            [this] { return streamsSettled(); });
}

void SongPipeline::onRendererCaps(GstPad*, GParamSpec*, gpointer data) {
    static_cast<SongPipeline*>(data)->streamsChanged();
}
