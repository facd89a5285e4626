#include "playback/gst/output_line.h"

#include <cstdlib>

#include <gst/audio/streamvolume.h>

#include "effects/gst/effect_catalogue.h"
#include "playback/gst/sink_volume.h"

namespace {
std::vector<bool> selectionOf(EffectCatalogue* effects) {
    std::vector<bool> selected;
    if (!effects)
        return selected;
    for (int i = 0; i < effects->effectCount(); ++i)
        selected.push_back(effects->isSelected(i));
    return selected;
}
}  // namespace

OutputLine::OutputLine() {
    GstElement* pipeline = gst_pipeline_new(nullptr);
    if (pipeline)
        pipeline_.reset(GST_ELEMENT(gst_object_ref_sink(pipeline)));
}

OutputLine::~OutputLine() {
    detachShared();
    if (concat_)
        g_signal_handlers_disconnect_by_data(concat_, this);
}

GstElement* OutputLine::makeAudioSink() {
    const char* description = std::getenv("VORN_AUDIO_SINK");
    if (description && *description) {
        GError* rawError = nullptr;
        GstElement* bin = gst_parse_bin_from_description(description, TRUE, &rawError);
        GErrorPtr error(rawError);
        if (bin && !error)
            return bin;
        adoptSunk(bin);  // a half-made bin is dropped at once
        return nullptr;
    }
    return gst_element_factory_make("autoaudiosink", nullptr);
}

bool OutputLine::build(EffectCatalogue* effects, double volume) {
    if (!pipeline_ || concat_)
        return false;
    GstBin* bin = GST_BIN(pipeline_.get());
    GstElement* concat = gst_element_factory_make("concat", "song-joint");
    GstElement* convertIn = gst_element_factory_make("audioconvert", nullptr);
    GstElement* resample = gst_element_factory_make("audioresample", nullptr);
    GstElement* convertOut = gst_element_factory_make("audioconvert", nullptr);
    GstElement* rate = gst_element_factory_make("capsfilter", "output-rate");
    GstElement* sink = makeAudioSink();
    if (!concat || !convertIn || !resample || !convertOut || !rate || !sink) {
        for (GstElement* made : {concat, convertIn, resample, convertOut, rate, sink})
            adoptSunk(made);  // dropped at once
        return false;
    }
    gst_bin_add_many(bin, concat, convertIn, resample, convertOut, rate, sink, nullptr);
    concat_ = concat;
    rate_ = rate;
    sink_ = sink;
    g_signal_connect(concat, "notify::active-pad", G_CALLBACK(onActivePad), this);
    // Set before the first buffer comes: on the sink's own volume when it has one, else
    // on an element of ours just before it.
    GstElement* last = convertOut;
    volume_ = findSinkVolume(sink);
    if (!volume_) {
        GstElement* element = gst_element_factory_make("volume", "program-volume");
        if (element && gst_bin_add(bin, element)) {
            volume_.reset(GST_ELEMENT(gst_object_ref(element)));
            last = element;
        }
    }
    if (effects)
        effectChain_ = insertEffects(bin, effects);
    effects_ = effects;
    selection_ = selectionOf(effects);
    setVolume(volume);

    bool linked = gst_element_link(concat, convertIn) && gst_element_link(convertIn, resample);
    if (effectChain_.head) {
        linked = linked && gst_element_link(resample, effectChain_.head) &&
                 gst_element_link(effectChain_.tail, convertOut);
    } else {
        linked = linked && gst_element_link(resample, convertOut);
    }
    if (last != convertOut)
        linked = linked && gst_element_link(convertOut, last);
    return linked && gst_element_link_many(last, rate, sink, nullptr);
}

void OutputLine::holdRate() {
    if (!rate_)
        return;
    GstPadPtr output(gst_element_get_static_pad(rate_, "src"));
    GstCapsPtr caps(output ? gst_pad_get_current_caps(output.get()) : nullptr);
    gint rate = 0;
    if (!caps || !gst_structure_get_int(gst_caps_get_structure(caps.get(), 0), "rate", &rate))
        return;
    GstCapsPtr held(gst_caps_new_simple("audio/x-raw", "rate", G_TYPE_INT, rate, nullptr));
    g_object_set(rate_, "caps", held.get(), nullptr);
}

bool OutputLine::playsEffects(EffectCatalogue* effects) const {
    return effects == effects_ && selectionOf(effects) == selection_;
}

GstPadPtr OutputLine::join(GstElement* bin, GstPad* partOutput) {
    if (!concat_ || !gst_bin_add(GST_BIN(pipeline_.get()), bin))
        return {};
    GstPadPtr input(gst_element_request_pad_simple(concat_, "sink_%u"));
    if (input && GST_PAD_LINK_SUCCESSFUL(gst_pad_link(partOutput, input.get())))
        return input;
    if (input)
        gst_element_release_request_pad(concat_, input.get());
    gst_object_ref(bin);  // the pipeline's reference goes with the removal
    gst_bin_remove(GST_BIN(pipeline_.get()), bin);
    gst_object_unref(bin);
    return {};
}

// The input goes first: a part's streaming thread may wait inside concat for its turn,
// and the release wakes it, so the part can then stop.
void OutputLine::leave(GstElement* bin, const GstPadPtr& input) {
    if (input && concat_)
        gst_element_release_request_pad(concat_, input.get());
    gst_element_set_state(bin, GST_STATE_NULL);
    if (GST_OBJECT_PARENT(bin) == GST_OBJECT(pipeline_.get())) {
        gst_object_ref(bin);
        gst_bin_remove(GST_BIN(pipeline_.get()), bin);
        gst_object_unref(bin);
    }
}

GstPadPtr OutputLine::activeInput() const {
    GstPad* active = nullptr;
    if (concat_)
        g_object_get(concat_, "active-pad", &active, nullptr);
    return GstPadPtr(active);
}

// Concat's end (no input left) is no change of song: its end of stream follows.
void OutputLine::onActivePad(GObject* concat, GParamSpec*, gpointer) {
    GstPad* active = nullptr;
    g_object_get(concat, "active-pad", &active, nullptr);
    if (!active)
        return;
    gst_object_unref(active);
    GstStructure* what = gst_structure_new_empty(kInputChanged);
    gst_element_post_message(GST_ELEMENT(concat),
                             gst_message_new_application(GST_OBJECT(concat), what));
}

void OutputLine::setVolume(double volume) {
    if (volume_)
        gst_stream_volume_set_volume(GST_STREAM_VOLUME(volume_.get()),
                                     GST_STREAM_VOLUME_FORMAT_CUBIC, volume);
}

void OutputLine::detachShared() {
    if (!pipeline_)
        return;
    gst_element_set_state(pipeline_.get(), GST_STATE_NULL);
    if (effectChain_.head || !effectChain_.shared.empty()) {
        removeEffects(GST_BIN(pipeline_.get()), effectChain_);
        effectChain_ = {};
    }
}
