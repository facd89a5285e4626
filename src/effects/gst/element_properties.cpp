#include "effects/gst/element_properties.h"

#include <gst/audio/gstaudiodecoder.h>
#include <gst/audio/gstaudioencoder.h>
#include <gst/audio/gstaudiofilter.h>
#include <gst/base/gstaggregator.h>
#include <gst/base/gstbaseparse.h>
#include <gst/base/gstbasesink.h>
#include <gst/base/gstbasesrc.h>
#include <gst/base/gstbasetransform.h>

#include <algorithm>
#include <cmath>

namespace {

// Properties declared by these classes or their ancestors ("name", "parent", "qos"...)
// belong to GStreamer's machinery, not to the effect.
bool isBaseClassProperty(GType owner) {
    const GType bases[] = {GST_TYPE_BASE_TRANSFORM, GST_TYPE_AUDIO_FILTER,  GST_TYPE_BASE_SRC,
                           GST_TYPE_BASE_SINK,      GST_TYPE_BASE_PARSE,    GST_TYPE_AGGREGATOR,
                           GST_TYPE_AUDIO_ENCODER,  GST_TYPE_AUDIO_DECODER, GST_TYPE_PIPELINE};
    return std::any_of(std::begin(bases), std::end(bases),
                       [owner](GType base) { return g_type_is_a(base, owner); });
}

bool isIntegerType(GType type) {
    return type == G_TYPE_INT || type == G_TYPE_UINT || type == G_TYPE_LONG ||
           type == G_TYPE_ULONG || type == G_TYPE_INT64 || type == G_TYPE_UINT64 ||
           type == G_TYPE_CHAR || type == G_TYPE_UCHAR;
}

// The numeric range of an integer or real property pspec.
void rangeOf(GParamSpec* pspec, double& minimum, double& maximum) {
    const GType type = G_PARAM_SPEC_VALUE_TYPE(pspec);
#define VORN_RANGE(gtype, SPEC)                              \
    if (type == gtype) {                                     \
        minimum = static_cast<double>(SPEC(pspec)->minimum); \
        maximum = static_cast<double>(SPEC(pspec)->maximum); \
        return;                                              \
    }
    VORN_RANGE(G_TYPE_INT, G_PARAM_SPEC_INT)
    VORN_RANGE(G_TYPE_UINT, G_PARAM_SPEC_UINT)
    VORN_RANGE(G_TYPE_LONG, G_PARAM_SPEC_LONG)
    VORN_RANGE(G_TYPE_ULONG, G_PARAM_SPEC_ULONG)
    VORN_RANGE(G_TYPE_INT64, G_PARAM_SPEC_INT64)
    VORN_RANGE(G_TYPE_UINT64, G_PARAM_SPEC_UINT64)
    VORN_RANGE(G_TYPE_CHAR, G_PARAM_SPEC_CHAR)
    VORN_RANGE(G_TYPE_UCHAR, G_PARAM_SPEC_UCHAR)
    VORN_RANGE(G_TYPE_FLOAT, G_PARAM_SPEC_FLOAT)
    VORN_RANGE(G_TYPE_DOUBLE, G_PARAM_SPEC_DOUBLE)
#undef VORN_RANGE
}

std::vector<PropertyChoice> choicesOf(GParamSpec* pspec) {
    std::vector<PropertyChoice> choices;
    GEnumClass* enumClass = G_PARAM_SPEC_ENUM(pspec)->enum_class;
    for (guint i = 0; i < enumClass->n_values; ++i) {
        const GEnumValue& value = enumClass->values[i];
        choices.push_back({value.value, value.value_name ? value.value_name : value.value_nick});
    }
    return choices;
}

// Whether a property may change in the element's present state: some may only change
// while the element is stopped.
bool changeableIn(GParamSpec* pspec, GstElement* element) {
    GstState state = GST_STATE_NULL;
    gst_element_get_state(element, &state, nullptr, 0);
    if (pspec->flags & GST_PARAM_MUTABLE_READY)
        return state <= GST_STATE_READY;
    if (pspec->flags & GST_PARAM_MUTABLE_PAUSED)
        return state <= GST_STATE_PAUSED;
    return true;
}

bool describe(GParamSpec* pspec, GstElement* element, EditableProperty& property) {
    const GType type = G_PARAM_SPEC_VALUE_TYPE(pspec);
    if (isIntegerType(type)) {
        property.kind = PropertyKind::Integer;
    } else if (type == G_TYPE_FLOAT || type == G_TYPE_DOUBLE) {
        property.kind = PropertyKind::Real;
    } else if (type == G_TYPE_BOOLEAN) {
        property.kind = PropertyKind::Boolean;
    } else if (G_TYPE_IS_ENUM(type)) {
        property.kind = PropertyKind::Choice;
        property.choices = choicesOf(pspec);
    } else if (type == G_TYPE_STRING) {
        property.kind = PropertyKind::Text;
    } else {
        return false;  // flags, caps, objects...: no simple editor
    }
    if (property.kind == PropertyKind::Integer || property.kind == PropertyKind::Real)
        rangeOf(pspec, property.minimum, property.maximum);
    property.name = g_param_spec_get_name(pspec);
    const gchar* nick = g_param_spec_get_nick(pspec);
    property.label = nick ? nick : property.name;
    const gchar* blurb = g_param_spec_get_blurb(pspec);
    property.tip = blurb ? blurb : "";
    property.changeableNow = changeableIn(pspec, element);
    return true;
}

// The property's present value, or its default when it can't be read.
struct PropertyValue {
    GValue value = G_VALUE_INIT;
    PropertyValue(GstElement* element, const std::string& name) {
        GParamSpec* pspec = g_object_class_find_property(G_OBJECT_GET_CLASS(element), name.c_str());
        if (!pspec)
            return;
        g_value_init(&value, G_PARAM_SPEC_VALUE_TYPE(pspec));
        if (pspec->flags & G_PARAM_READABLE) {
            g_object_get_property(G_OBJECT(element), name.c_str(), &value);
        } else {
            g_param_value_set_default(pspec, &value);
        }
    }
    ~PropertyValue() {
        if (G_IS_VALUE(&value))
            g_value_unset(&value);
    }
    PropertyValue(const PropertyValue&) = delete;
    PropertyValue& operator=(const PropertyValue&) = delete;
};

}  // namespace

ElementProperties::ElementProperties(GstElement* element)
    : element_(element ? GST_ELEMENT(gst_object_ref(element)) : nullptr) {
    if (!element_)
        return;
    guint count = 0;
    GMemoryPtr<GParamSpec*> specs(
        g_object_class_list_properties(G_OBJECT_GET_CLASS(element_.get()), &count));
    for (guint i = 0; i < count; ++i) {
        GParamSpec* pspec = specs.get()[i];
        if (!(pspec->flags & G_PARAM_WRITABLE) || (pspec->flags & G_PARAM_CONSTRUCT_ONLY) ||
            isBaseClassProperty(pspec->owner_type))
            continue;
        EditableProperty property;
        if (describe(pspec, element_.get(), property))
            properties_.push_back(std::move(property));
    }
}

double ElementProperties::number(const EditableProperty& property) const {
    PropertyValue current(element_.get(), property.name);
    ScopedValue asDouble(G_TYPE_DOUBLE);
    if (G_IS_VALUE(&current.value) && g_value_transform(&current.value, asDouble.get()))
        return g_value_get_double(asDouble.get());
    return 0;
}

bool ElementProperties::flag(const EditableProperty& property) const {
    PropertyValue current(element_.get(), property.name);
    return G_VALUE_HOLDS_BOOLEAN(&current.value) && g_value_get_boolean(&current.value);
}

int ElementProperties::choice(const EditableProperty& property) const {
    PropertyValue current(element_.get(), property.name);
    return G_VALUE_HOLDS_ENUM(&current.value) ? g_value_get_enum(&current.value) : 0;
}

std::string ElementProperties::text(const EditableProperty& property) const {
    PropertyValue current(element_.get(), property.name);
    const gchar* value =
        G_VALUE_HOLDS_STRING(&current.value) ? g_value_get_string(&current.value) : nullptr;
    return value ? value : "";
}

void ElementProperties::setNumber(const EditableProperty& property, double value) {
    GParamSpec* pspec =
        g_object_class_find_property(G_OBJECT_GET_CLASS(element_.get()), property.name.c_str());
    if (!pspec || !std::isfinite(value))
        return;
    value = std::clamp(value, property.minimum, property.maximum);
    if (property.kind == PropertyKind::Integer)
        value = std::round(value);
    ScopedValue source(G_TYPE_DOUBLE);
    g_value_set_double(source.get(), value);
    ScopedValue target(G_PARAM_SPEC_VALUE_TYPE(pspec));
    if (g_value_transform(source.get(), target.get()))
        g_object_set_property(G_OBJECT(element_.get()), property.name.c_str(), target.get());
}

void ElementProperties::setFlag(const EditableProperty& property, bool value) {
    g_object_set(element_.get(), property.name.c_str(), gboolean(value ? TRUE : FALSE), nullptr);
}

void ElementProperties::setChoice(const EditableProperty& property, int value) {
    const bool known =
        std::any_of(property.choices.begin(), property.choices.end(),
                    [value](const PropertyChoice& choice) { return choice.value == value; });
    if (known)
        g_object_set(element_.get(), property.name.c_str(), value, nullptr);
}

void ElementProperties::setText(const EditableProperty& property, const std::string& value) {
    g_object_set(element_.get(), property.name.c_str(), value.c_str(), nullptr);
}
