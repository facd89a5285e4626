#include "discard_renderer.h"

#include <atomic>

#include "identity.h"

namespace {

struct DiscardRenderer {
    GstBaseSink parent;
    // The async setting to restore once the element leaves PAUSED, when it was switched
    // off because the element went to PAUSED unlinked.
    gboolean restoreAsync;
    gboolean asyncSuspended;
};

struct DiscardRendererClass {
    GstBaseSinkClass parentClass;
};

std::atomic<int> liveInstances{0};
GstBaseSinkClass* parentClass = nullptr;

// The pad template is ANY: no caps list can name every compressed video format. What the
// element takes is decided per structure: any "video/..." media type, and "image/..."
// because demuxers present some video codecs that way (MJPEG in AVI is "image/jpeg").
GstStaticPadTemplate sinkTemplate =
    GST_STATIC_PAD_TEMPLATE("sink", GST_PAD_SINK, GST_PAD_ALWAYS, GST_STATIC_CAPS_ANY);

bool isVideoStructure(const GstStructure* structure) {
    const gchar* name = gst_structure_get_name(structure);
    return g_str_has_prefix(name, "video/") || g_str_has_prefix(name, "image/");
}

bool isVideoCaps(const GstCaps* caps) {
    if (!caps || gst_caps_is_any(caps) || gst_caps_is_empty(caps))
        return false;
    for (guint i = 0; i < gst_caps_get_size(caps); ++i) {
        if (!isVideoStructure(gst_caps_get_structure(caps, i)))
            return false;
    }
    return true;
}

DiscardRenderer* asRenderer(gpointer object) {
    return static_cast<DiscardRenderer*>(object);
}

bool isLinked(GstBaseSink* sink) {
    return gst_pad_is_linked(GST_BASE_SINK_PAD(sink));
}

// Without a filter: anything. With one: only its video structures, so an upstream element
// asking about audio learns at once that this sink won't take it.
GstCaps* discardGetCaps(GstBaseSink*, GstCaps* filter) {
    if (!filter || gst_caps_is_any(filter))
        return gst_caps_new_any();
    GstCaps* result = gst_caps_new_empty();
    for (guint i = 0; i < gst_caps_get_size(filter); ++i) {
        const GstStructure* structure = gst_caps_get_structure(filter, i);
        if (!isVideoStructure(structure))
            continue;
        GstCapsFeatures* features = gst_caps_get_features(filter, i);
        gst_caps_append_structure_full(result, gst_structure_copy(structure),
                                       features ? gst_caps_features_copy(features) : nullptr);
    }
    return result;
}

gboolean discardQuery(GstBaseSink* sink, GstQuery* query) {
    if (GST_QUERY_TYPE(query) == GST_QUERY_ACCEPT_CAPS) {
        GstCaps* caps = nullptr;
        gst_query_parse_accept_caps(query, &caps);
        gst_query_set_accept_caps_result(query, isVideoCaps(caps));
        return TRUE;
    }
    return parentClass->query(sink, query);
}

gboolean discardSetCaps(GstBaseSink* sink, GstCaps* caps) {
    if (isVideoCaps(caps))
        return TRUE;
    GST_WARNING_OBJECT(sink, "refusing non-video caps %" GST_PTR_FORMAT,
                       static_cast<gpointer>(caps));
    return FALSE;
}

// How early a frame may be consumed. The base class waits on the clock for every buffer it
// syncs; syncing on the start of each such slice rather than on every frame keeps the
// stream at its presentation pace while sleeping and waking a few times a second instead
// of once per frame (a frame in a slice that has begun passes at once).
constexpr GstClockTime kPaceSlice = 100 * GST_MSECOND;

void discardGetTimes(GstBaseSink*, GstBuffer* buffer, GstClockTime* start, GstClockTime* end) {
    GstClockTime timestamp = GST_BUFFER_DTS(buffer);
    if (!GST_CLOCK_TIME_IS_VALID(timestamp))
        timestamp = GST_BUFFER_PTS(buffer);
    if (!GST_CLOCK_TIME_IS_VALID(timestamp))
        return;  // nothing to wait for
    const GstClockTime duration = GST_BUFFER_DURATION(buffer);
    if (GST_CLOCK_TIME_IS_VALID(duration))
        *end = timestamp + duration;
    *start = timestamp - timestamp % kPaceSlice;
}

// This is where a frame would be drawn: it is dropped instead. The base class has
// already waited for the buffer's presentation time on the pipeline clock.
GstFlowReturn discardRender(GstBaseSink*, GstBuffer*) {
    return GST_FLOW_OK;
}

// Only a linked renderer counts as one of the pipeline's sinks: a pipeline reports end of
// stream when all its sinks have, so a renderer that never gets a stream (a file without
// video) must not be waited for.
void followLink(GstPad* pad, GstPad*, gpointer element) {
    const bool linked = gst_pad_is_linked(pad);
    GST_OBJECT_LOCK(element);
    if (linked) {
        GST_OBJECT_FLAG_SET(element, GST_ELEMENT_FLAG_SINK);
    } else {
        GST_OBJECT_FLAG_UNSET(element, GST_ELEMENT_FLAG_SINK);
    }
    GST_OBJECT_UNLOCK(element);
}

// Likewise a renderer still unlinked when it goes to PAUSED doesn't wait for a preroll
// buffer that may never come; linked later (a demuxer exposes its pads while the pipeline
// pauses), it takes its stream without holding back the pipeline's preroll.
GstStateChangeReturn discardChangeState(GstElement* element, GstStateChange transition) {
    auto* sink = GST_BASE_SINK(element);
    DiscardRenderer* self = asRenderer(element);

    if (transition == GST_STATE_CHANGE_READY_TO_PAUSED && !isLinked(sink)) {
        self->restoreAsync = gst_base_sink_is_async_enabled(sink);
        self->asyncSuspended = TRUE;
        gst_base_sink_set_async_enabled(sink, FALSE);
    }

    const GstStateChangeReturn result =
        GST_ELEMENT_CLASS(parentClass)->change_state(element, transition);

    if (transition == GST_STATE_CHANGE_PAUSED_TO_READY && self->asyncSuspended) {
        self->asyncSuspended = FALSE;
        gst_base_sink_set_async_enabled(sink, self->restoreAsync);
    }
    return result;
}

void discardFinalize(GObject* object) {
    liveInstances.fetch_sub(1, std::memory_order_acq_rel);
    G_OBJECT_CLASS(parentClass)->finalize(object);
}

void discardClassInit(gpointer klass, gpointer) {
    parentClass = static_cast<GstBaseSinkClass*>(g_type_class_peek_parent(klass));

    auto* objectClass = G_OBJECT_CLASS(klass);
    objectClass->finalize = discardFinalize;

    auto* elementClass = GST_ELEMENT_CLASS(klass);
    gst_element_class_set_static_metadata(elementClass, zarvex::kLongName, zarvex::kClassification,
                                          zarvex::kDescription, zarvex::kAuthor);
    gst_element_class_add_static_metadata(elementClass, zarvex::kClassIdKey, zarvex::kClassId);
    gst_element_class_add_static_pad_template(elementClass, &sinkTemplate);
    elementClass->change_state = discardChangeState;

    auto* sinkClass = GST_BASE_SINK_CLASS(klass);
    sinkClass->get_caps = discardGetCaps;
    sinkClass->set_caps = discardSetCaps;
    sinkClass->query = discardQuery;
    sinkClass->get_times = discardGetTimes;
    sinkClass->render = discardRender;
    sinkClass->preroll = discardRender;
}

void discardInstanceInit(GTypeInstance* instance, gpointer) {
    liveInstances.fetch_add(1, std::memory_order_acq_rel);
    auto* sink = reinterpret_cast<GstBaseSink*>(instance);
    // Buffers wait for their time on the clock, so the video stream is consumed at the
    // pace of the sound, neither faster nor slower.
    gst_base_sink_set_sync(sink, TRUE);
    // Nothing is shown, so no frame needs to be kept for snapshots.
    gst_base_sink_set_last_sample_enabled(sink, FALSE);
    GstPad* pad = GST_BASE_SINK_PAD(sink);
    g_signal_connect(pad, "linked", G_CALLBACK(followLink), sink);
    g_signal_connect(pad, "unlinked", G_CALLBACK(followLink), sink);
    GST_OBJECT_FLAG_UNSET(sink, GST_ELEMENT_FLAG_SINK);
    asRenderer(instance)->restoreAsync = TRUE;
    asRenderer(instance)->asyncSuspended = FALSE;
}

GType registerType() {
    // A second copy of this library in the process (loaded from another path) finds the
    // type already registered by the first and shares it.
    if (GType existing = g_type_from_name(zarvex::kTypeName))
        return existing;
    const GTypeInfo info = {
        sizeof(DiscardRendererClass),
        nullptr,
        nullptr,
        discardClassInit,
        nullptr,
        nullptr,
        sizeof(DiscardRenderer),
        0,
        discardInstanceInit,
        nullptr,
    };
    return g_type_register_static(GST_TYPE_BASE_SINK, zarvex::kTypeName, &info, GTypeFlags(0));
}

}  // namespace

GType discardRendererGetType() {
    static gsize type = 0;
    if (g_once_init_enter(&type))
        g_once_init_leave(&type, registerType());
    return static_cast<GType>(type);
}

int discardRendererLiveCount() {
    return liveInstances.load(std::memory_order_acquire);
}

gboolean registerDiscardRenderer(GstPlugin* plugin) {
    return gst_element_register(plugin, zarvex::kFactoryName, GST_RANK_NONE,
                                discardRendererGetType());
}
