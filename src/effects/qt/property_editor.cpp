#include "effects/qt/property_editor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>
#include <cmath>

#include "effects/gst/effect_catalogue.h"

namespace {

// Spin boxes can't show the full range of every property (some reach the largest
// double); the editable span is kept within this magnitude.
constexpr double kLargestShown = 1e12;

QString qtText(const std::string& text) {
    return QString::fromStdString(text);
}

bool fitsInt(const EditableProperty& property) {
    return property.minimum >= INT_MIN && property.maximum <= INT_MAX;
}

constexpr int kRealDecimals = 3;

double stepFor(double span) {
    return span <= 2 ? 0.01 : 0.1;
}

}  // namespace

PropertyDialog::PropertyDialog(ElementProperties& properties, QWidget* owner)
    : QDialog(owner), properties_(properties) {
    setWindowTitle(QCoreApplication::translate("PropertyEditor", "Property"));
    setModal(true);

    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    for (const EditableProperty& property : properties_.properties()) {
        QWidget* editor = editorFor(property);
        editor->setObjectName(qtText(property.name));
        editor->setToolTip(qtText(property.tip));
        editor->setEnabled(property.changeableNow);
        auto* label = new QLabel(qtText(property.label));
        label->setToolTip(qtText(property.tip));
        label->setBuddy(editor);
        form->addRow(label, editor);
    }

    auto* scroll = new QScrollArea;
    scroll->setWidget(page);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroll);
    layout->addWidget(buttons);
    resize(std::max(sizeHint().width(), page->sizeHint().width() + 40),
           std::min(page->sizeHint().height() + buttons->sizeHint().height() + 40, 600));
}

QWidget* PropertyDialog::editorFor(const EditableProperty& property) {
    switch (property.kind) {
        case PropertyKind::Integer:
        case PropertyKind::Real:
            return numberEditor(property);
        case PropertyKind::Boolean: {
            auto* box = new QCheckBox;
            box->setChecked(properties_.flag(property));
            connect(box, &QCheckBox::toggled, this,
                    [this, &property](bool on) { properties_.setFlag(property, on); });
            return box;
        }
        case PropertyKind::Choice: {
            auto* combo = new QComboBox;
            for (const PropertyChoice& choice : property.choices)
                combo->addItem(qtText(choice.label), choice.value);
            combo->setCurrentIndex(std::max(0, combo->findData(properties_.choice(property))));
            connect(combo, &QComboBox::activated, this, [this, &property, combo](int row) {
                properties_.setChoice(property, combo->itemData(row).toInt());
            });
            return combo;
        }
        case PropertyKind::Text: {
            auto* edit = new QLineEdit(qtText(properties_.text(property)));
            connect(edit, &QLineEdit::editingFinished, this, [this, &property, edit] {
                properties_.setText(property, edit->text().toStdString());
            });
            return edit;
        }
    }
    return new QWidget;
}

QWidget* PropertyDialog::numberEditor(const EditableProperty& property) {
    const double current = properties_.number(property);
    if (property.kind == PropertyKind::Integer && fitsInt(property)) {
        auto* spin = new QSpinBox;
        spin->setRange(static_cast<int>(property.minimum), static_cast<int>(property.maximum));
        spin->setValue(static_cast<int>(current));
        spin->setKeyboardTracking(false);
        connect(spin, &QSpinBox::valueChanged, this,
                [this, &property](int value) { properties_.setNumber(property, value); });
        return spin;
    }
    const double minimum = std::max(property.minimum, -kLargestShown);
    const double maximum = std::min(property.maximum, kLargestShown);
    auto* spin = new QDoubleSpinBox;
    const bool integral = property.kind == PropertyKind::Integer;
    spin->setDecimals(integral ? 0 : kRealDecimals);
    spin->setSingleStep(integral ? 1 : stepFor(maximum - minimum));
    spin->setRange(minimum, maximum);
    spin->setValue(current);
    spin->setKeyboardTracking(false);
    connect(spin, &QDoubleSpinBox::valueChanged, this,
            [this, &property](double value) { properties_.setNumber(property, value); });
    return spin;
}

int showPropertyPages(EffectCatalogue& catalogue, std::span<const int> indices, QWidget* owner) {
    for (const int index : indices) {
        GstElement* element = nullptr;
        if (catalogue.wrapperFor(index, &element) != kResultOk || !element)
            continue;
        ElementProperties properties(element);
        if (properties.empty())
            continue;
        PropertyDialog dialog(properties, owner);
        dialog.exec();
    }
    return 0;
}
