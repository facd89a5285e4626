#pragma once
// The properties of an effect element that the user may edit, described without GLib
// types so the property dialog can build its editors, and the setters that apply an
// edit to the element at once (a playing effect changes the sound immediately).
#include <gst/gst.h>

#include <string>
#include <vector>

#include "app/gst/gst_ptr.h"

enum class PropertyKind { Integer, Real, Boolean, Choice, Text };

struct PropertyChoice {
    int value;
    std::string label;
};

struct EditableProperty {
    std::string name;   // the GObject property name, used to apply edits
    std::string label;  // the short name shown beside the editor
    std::string tip;    // the longer description
    PropertyKind kind = PropertyKind::Text;
    double minimum = 0;  // Integer and Real
    double maximum = 0;
    std::vector<PropertyChoice> choices;  // Choice
    // False while the element plays when the property may only change in a stopped
    // element; the value is still shown.
    bool changeableNow = true;
};

class ElementProperties {
  public:
    // Keeps a reference to `element` for the editor's lifetime.
    explicit ElementProperties(GstElement* element);

    // The effect's own writable properties, in the order the element declares them.
    // Construct-only properties and those of the GStreamer base classes are left out.
    const std::vector<EditableProperty>& properties() const { return properties_; }
    bool empty() const { return properties_.empty(); }

    double number(const EditableProperty& property) const;
    bool flag(const EditableProperty& property) const;
    int choice(const EditableProperty& property) const;
    std::string text(const EditableProperty& property) const;

    // Each setter clamps to the property's range and applies at once.
    void setNumber(const EditableProperty& property, double value);
    void setFlag(const EditableProperty& property, bool value);
    void setChoice(const EditableProperty& property, int value);
    void setText(const EditableProperty& property, const std::string& value);

  private:
    GstElementPtr element_;
    std::vector<EditableProperty> properties_;
};
