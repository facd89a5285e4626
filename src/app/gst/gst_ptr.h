#pragma once
// One owner per GStreamer reference: unique_ptr aliases that drop the reference the way
// its kind needs.
#include <gst/gst.h>

#include <memory>

struct GstObjectUnref {
    void operator()(gpointer object) const {
        if (object)
            gst_object_unref(object);
    }
};
struct GstCapsUnref {
    void operator()(GstCaps* caps) const {
        if (caps)
            gst_caps_unref(caps);
    }
};
struct GstBufferUnref {
    void operator()(GstBuffer* buffer) const {
        if (buffer)
            gst_buffer_unref(buffer);
    }
};
struct GstSampleUnref {
    void operator()(GstSample* sample) const {
        if (sample)
            gst_sample_unref(sample);
    }
};
struct GstMessageUnref {
    void operator()(GstMessage* message) const {
        if (message)
            gst_message_unref(message);
    }
};
struct GstEventUnref {
    void operator()(GstEvent* event) const {
        if (event)
            gst_event_unref(event);
    }
};
struct GstTagListUnref {
    void operator()(GstTagList* tags) const {
        if (tags)
            gst_tag_list_unref(tags);
    }
};
struct GErrorFree {
    void operator()(GError* error) const {
        if (error)
            g_error_free(error);
    }
};
struct GFree {
    void operator()(gpointer memory) const { g_free(memory); }
};
struct GstIteratorFree {
    void operator()(GstIterator* iterator) const {
        if (iterator)
            gst_iterator_free(iterator);
    }
};
// A list of plug-in features as the registry hands it out: the list and a reference to
// each feature.
struct GstFeatureListFree {
    void operator()(GList* features) const { gst_plugin_feature_list_free(features); }
};

template <typename T>
using GstObjectPtr = std::unique_ptr<T, GstObjectUnref>;
using GstElementPtr = GstObjectPtr<GstElement>;
using GstBusPtr = GstObjectPtr<GstBus>;
using GstPadPtr = GstObjectPtr<GstPad>;
using GstCapsPtr = std::unique_ptr<GstCaps, GstCapsUnref>;
using GstBufferPtr = std::unique_ptr<GstBuffer, GstBufferUnref>;
using GstSamplePtr = std::unique_ptr<GstSample, GstSampleUnref>;
using GstMessagePtr = std::unique_ptr<GstMessage, GstMessageUnref>;
using GstEventPtr = std::unique_ptr<GstEvent, GstEventUnref>;
using GstTagListPtr = std::unique_ptr<GstTagList, GstTagListUnref>;
using GErrorPtr = std::unique_ptr<GError, GErrorFree>;
using GCharPtr = std::unique_ptr<gchar, GFree>;
// Memory GLib allocated for the caller, such as an array of borrowed pointers.
template <typename T>
using GMemoryPtr = std::unique_ptr<T, GFree>;
using GstIteratorPtr = std::unique_ptr<GstIterator, GstIteratorFree>;
using GstFeatureListPtr = std::unique_ptr<GList, GstFeatureListFree>;

// Takes ownership of a newly made, possibly floating object: sinks the floating reference
// once, so the handle holds the only one.
template <typename T>
GstObjectPtr<T> adoptSunk(T* object) {
    return GstObjectPtr<T>(object ? static_cast<T*>(gst_object_ref_sink(object)) : nullptr);
}

// A GValue of one type, unset when it goes out of scope.
class ScopedValue {
  public:
    explicit ScopedValue(GType type) { g_value_init(&value_, type); }
    ~ScopedValue() { g_value_unset(&value_); }
    ScopedValue(const ScopedValue&) = delete;
    ScopedValue& operator=(const ScopedValue&) = delete;
    GValue* get() { return &value_; }
    const GValue* get() const { return &value_; }

  private:
    GValue value_ = G_VALUE_INIT;
};
