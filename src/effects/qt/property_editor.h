#pragma once
// The "Property" dialog of an effect: one editor per property the effect lets the user
// set, each change applied to the element at once, so a playing song changes its sound
// while the user edits.
#include <QDialog>

#include <span>

#include "effects/gst/element_properties.h"

class EffectCatalogue;
class QWidget;

class PropertyDialog : public QDialog {
    Q_OBJECT
  public:
    // `properties` must outlive the dialog.
    PropertyDialog(ElementProperties& properties, QWidget* owner);

  private:
    QWidget* editorFor(const EditableProperty& property);
    QWidget* numberEditor(const EditableProperty& property);

    ElementProperties& properties_;
};

// Shows, one after another and modal over `owner`, the property dialog of each listed
// effect of `catalogue` (making its element when needed, selected or not). An index
// outside the catalogue, an element that can't be made and an element without editable
// properties are passed over. The result is always 0.
int showPropertyPages(EffectCatalogue& catalogue, std::span<const int> indices, QWidget* owner);
