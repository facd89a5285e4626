#include "effects/gst/effect_chain.h"

#include <climits>

#include "app/gst/gst_ptr.h"
#include "effects/gst/effect_catalogue.h"

namespace {

// True when the element's sink only takes some sample rates, so a resampler must
// adapt the decoded audio to it.
bool needsResampler(GstElement* effect) {
    GstPadTemplate* sinkTemplate =
        gst_element_class_get_pad_template(GST_ELEMENT_GET_CLASS(effect), "sink");
    if (!sinkTemplate)
        return false;
    GstCapsPtr caps(gst_pad_template_get_caps(sinkTemplate));
    bool restricted = false;
    for (guint i = 0; i < gst_caps_get_size(caps.get()) && !restricted; ++i) {
        const GValue* rate = gst_structure_get_value(gst_caps_get_structure(caps.get(), i), "rate");
        if (!rate)
            continue;
        restricted = !GST_VALUE_HOLDS_INT_RANGE(rate) || gst_value_get_int_range_min(rate) > 1 ||
                     gst_value_get_int_range_max(rate) < INT_MAX;
    }
    return restricted;
}

// A converter made for one song: owned by the bin once added.
GstElement* addConverter(GstBin* bin, const char* factory) {
    GstElement* element = gst_element_factory_make(factory, nullptr);
    if (element && !gst_bin_add(bin, element))
        element = nullptr;  // the bin sank and dropped it
    return element;
}

void discard(GstBin* bin, GstElement* element) {
    if (!element)
        return;
    gst_element_set_state(element, GST_STATE_NULL);
    gst_bin_remove(bin, element);
}

// Adds the converters that lead into `effect` and links `upstream` (may be null) through
// them to it. Returns the first converter, or nullptr when the effect can't join.
GstElement* joinEffect(GstBin* bin, GstElement* upstream, GstElement* effect) {
    GstElement* convert = addConverter(bin, "audioconvert");
    GstElement* resample = needsResampler(effect) ? addConverter(bin, "audioresample") : nullptr;
    const bool resampleOk = resample || !needsResampler(effect);
    GstElement* last = resample ? resample : convert;
    const bool linked =
        convert && resampleOk && (!upstream || gst_element_link(upstream, convert)) &&
        (!resample || gst_element_link(convert, resample)) && gst_element_link(last, effect);
    if (linked)
        return convert;
    if (upstream && convert)
        gst_element_unlink(upstream, convert);
    discard(bin, resample);
    discard(bin, convert);
    return nullptr;
}

// Another element of the bin already bears the effect's name (adding it would fail).
bool nameTaken(GstBin* bin, GstElement* effect) {
    GstElementPtr other(gst_bin_get_by_name(bin, GST_ELEMENT_NAME(effect)));
    return other != nullptr;
}

bool hasParent(GstElement* element) {
    GstObjectPtr<GstObject> parent(gst_object_get_parent(GST_OBJECT(element)));
    return parent != nullptr;
}

// A chain added to a bin that already left NULL must follow it, downstream first.
void followBinState(GstBin* bin, GstElement* tail) {
    if (GST_STATE(bin) == GST_STATE_NULL && GST_STATE_PENDING(bin) == GST_STATE_VOID_PENDING)
        return;
    for (GstElement* element = tail; element;) {
        gst_element_sync_state_with_parent(element);
        GstPadPtr sink(gst_element_get_static_pad(element, "sink"));
        GstPadPtr peer(sink ? gst_pad_get_peer(sink.get()) : nullptr);
        GstElementPtr upstream(peer ? gst_pad_get_parent_element(peer.get()) : nullptr);
        element = upstream.get();  // still held by the bin when the handle lets go
    }
}

}  // namespace

EffectChain insertEffects(GstBin* bin, EffectCatalogue* catalogue) {
    EffectChain chain;
    if (!bin || !catalogue)
        return chain;
    for (int i = 0; i < catalogue->effectCount(); ++i) {
        GstElement* effect = nullptr;
        if (catalogue->selectedWrapperFor(i, &effect) != kResultOk || !effect)
            continue;
        // The bin takes a reference of its own; the catalogue keeps its one.
        // Still inside a pipeline given up on (a song stuck opening): this song goes
        // without it. That pipeline is released on another thread: read under its lock.
        if (hasParent(effect) || nameTaken(bin, effect) || !gst_bin_add(bin, effect))
            continue;
        GstElement* convert = joinEffect(bin, chain.tail, effect);
        if (!convert) {
            gst_bin_remove(bin, effect);
            continue;
        }
        if (!chain.head)
            chain.head = convert;
        chain.tail = effect;
        chain.shared.push_back(effect);
    }
    if (chain.tail) {
        // The sound leaves the chain in a format every sink path can take.
        GstElement* out = addConverter(bin, "audioconvert");
        if (out && gst_element_link(chain.tail, out)) {
            chain.tail = out;
        } else {
            discard(bin, out);
        }
    }
    followBinState(bin, chain.tail);
    return chain;
}

void removeEffects(GstBin* bin, const EffectChain& chain) {
    if (!bin)
        return;
    for (GstElement* effect : chain.shared) {
        if (!gst_object_has_as_parent(GST_OBJECT(effect), GST_OBJECT(bin)))
            continue;
        gst_element_set_state(effect, GST_STATE_NULL);
        gst_bin_remove(bin, effect);
    }
}
