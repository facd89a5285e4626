#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QSpinBox>

#include <vector>

#include "app/gst/gst_init.h"
#include "effects/gst/effect_catalogue.h"
#include "effects/gst/element_properties.h"
#include "effects/gst/fake_registry.h"
#include "effects/qt/property_editor.h"
#include "modal_watch.h"

namespace {

GstElementPtr makeElement(const char* factory) {
    ensureGstInitialised();
    return GstElementPtr(
        GST_ELEMENT(gst_object_ref_sink(gst_element_factory_make(factory, nullptr))));
}

const EditableProperty* find(const ElementProperties& properties, const std::string& name) {
    for (const EditableProperty& property : properties.properties())
        if (property.name == name)
            return &property;
    return nullptr;
}

TEST(ElementPropertiesTest, ListsOnlyTheEffectsOwnWritableProperties) {
    GstElementPtr echo = makeElement("audioecho");
    ElementProperties properties(echo.get());
    for (const char* base : {"name", "parent", "qos"})
        EXPECT_EQ(find(properties, base), nullptr) << base;
    const EditableProperty* intensity = find(properties, "intensity");
    ASSERT_NE(intensity, nullptr);
    EXPECT_EQ(intensity->kind, PropertyKind::Real);
    EXPECT_DOUBLE_EQ(intensity->minimum, 0.0);
    EXPECT_DOUBLE_EQ(intensity->maximum, 1.0);
    ASSERT_NE(find(properties, "surround-delay"), nullptr);
    EXPECT_EQ(find(properties, "surround-delay")->kind, PropertyKind::Boolean);
    ASSERT_NE(find(properties, "delay"), nullptr);
    EXPECT_EQ(find(properties, "delay")->kind, PropertyKind::Integer);

    GstElementPtr encoder = makeElement("wavenc");
    EXPECT_TRUE(ElementProperties(encoder.get()).empty());
    EXPECT_TRUE(ElementProperties(nullptr).empty());
}

TEST(ElementPropertiesTest, SettersClampAndReachTheElement) {
    GstElementPtr amplifier = makeElement("audioamplify");
    ElementProperties properties(amplifier.get());
    const EditableProperty* amplification = find(properties, "amplification");
    const EditableProperty* method = find(properties, "clipping-method");
    ASSERT_NE(amplification, nullptr);
    ASSERT_NE(method, nullptr);
    ASSERT_EQ(method->kind, PropertyKind::Choice);
    ASSERT_GE(method->choices.size(), 2u);

    properties.setNumber(*amplification, 0.5);
    gfloat value = 0;
    g_object_get(amplifier.get(), "amplification", &value, nullptr);
    EXPECT_FLOAT_EQ(value, 0.5f);
    EXPECT_DOUBLE_EQ(properties.number(*amplification), 0.5);
    GstElementPtr echo = makeElement("audioecho");
    ElementProperties echoProperties(echo.get());
    const EditableProperty* intensity = find(echoProperties, "intensity");
    ASSERT_NE(intensity, nullptr);
    echoProperties.setNumber(*intensity, 1.5);  // above the range: clamped to 1
    EXPECT_DOUBLE_EQ(echoProperties.number(*intensity), 1.0);

    properties.setChoice(*method, method->choices[1].value);
    EXPECT_EQ(properties.choice(*method), method->choices[1].value);
    properties.setChoice(*method, 12345);  // not a value of the enum: ignored
    EXPECT_EQ(properties.choice(*method), method->choices[1].value);
}

TEST(ElementPropertiesTest, StoppedOnlyPropertiesAreLockedWhilePlaying) {
    ensureGstInitialised();
    GstElementPtr pipeline(GST_ELEMENT(gst_object_ref_sink(
        gst_parse_launch("audiotestsrc ! audioecho name=echo ! fakesink sync=true", nullptr))));
    ASSERT_NE(pipeline, nullptr);
    GstElementPtr echo(gst_bin_get_by_name(GST_BIN(pipeline.get()), "echo"));
    EXPECT_TRUE(find(ElementProperties(echo.get()), "max-delay")->changeableNow);
    gst_element_set_state(pipeline.get(), GST_STATE_PAUSED);
    gst_element_get_state(pipeline.get(), nullptr, nullptr, 5 * GST_SECOND);
    ElementProperties paused(echo.get());
    EXPECT_FALSE(find(paused, "max-delay")->changeableNow);
    EXPECT_TRUE(find(paused, "intensity")->changeableNow);
    gst_element_set_state(pipeline.get(), GST_STATE_NULL);
}

TEST(PropertyDialogTest, EditorsApplyEveryChangeAtOnce) {
    GstElementPtr echo = makeElement("audioecho");
    ElementProperties properties(echo.get());
    PropertyDialog dialog(properties, nullptr);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Property"));
    EXPECT_EQ(dialog.findChild<QWidget*>(QStringLiteral("qos")), nullptr);

    auto* intensity = dialog.findChild<QDoubleSpinBox*>(QStringLiteral("intensity"));
    ASSERT_NE(intensity, nullptr);
    EXPECT_DOUBLE_EQ(intensity->maximum(), 1.0);
    intensity->setValue(0.75);
    gfloat level = 0;
    g_object_get(echo.get(), "intensity", &level, nullptr);
    EXPECT_FLOAT_EQ(level, 0.75f);

    auto* surround = dialog.findChild<QCheckBox*>(QStringLiteral("surround-delay"));
    ASSERT_NE(surround, nullptr);
    surround->setChecked(!surround->isChecked());
    gboolean on = FALSE;
    g_object_get(echo.get(), "surround-delay", &on, nullptr);
    EXPECT_EQ(bool(on), surround->isChecked());

    // A 64-bit nanosecond delay has a wider range than a plain spin box.
    auto* delay = dialog.findChild<QDoubleSpinBox*>(QStringLiteral("delay"));
    ASSERT_NE(delay, nullptr);
    EXPECT_EQ(delay->decimals(), 0);
    delay->setValue(250000000);
    guint64 nanoseconds = 0;
    g_object_get(echo.get(), "delay", &nanoseconds, nullptr);
    EXPECT_EQ(nanoseconds, 250000000u);
}

TEST(PropertyDialogTest, ChoiceAndIntegerEditors) {
    GstElementPtr amplifier = makeElement("audioamplify");
    ElementProperties properties(amplifier.get());
    PropertyDialog dialog(properties, nullptr);
    auto* method = dialog.findChild<QComboBox*>(QStringLiteral("clipping-method"));
    ASSERT_NE(method, nullptr);
    method->setCurrentIndex(2);
    emit method->activated(2);
    gint chosen = -1;
    g_object_get(amplifier.get(), "clipping-method", &chosen, nullptr);
    EXPECT_EQ(chosen, method->itemData(2).toInt());

    GstElementPtr resampler = makeElement("audioresample");
    ElementProperties resampling(resampler.get());
    PropertyDialog second(resampling, nullptr);
    auto* quality = second.findChild<QSpinBox*>(QStringLiteral("quality"));
    ASSERT_NE(quality, nullptr);
    EXPECT_EQ(quality->maximum(), 10);
    quality->setValue(7);
    gint level = 0;
    g_object_get(resampler.get(), "quality", &level, nullptr);
    EXPECT_EQ(level, 7);
}

TEST(PropertyPagesTest, ListedEffectsOpenInTurnAndOthersArePassedOver) {
    ensureGstInitialised();
    auto registry = std::make_shared<FakeRegistry>();
    // After sorting: audioamplify, audioecho, nosuchfactory, wavenc (no editable property).
    registry->factories = {audioEffect("wavenc", "Encoder"), audioEffect("audioecho", "Echo"),
                           audioEffect("nosuchfactory", "Missing"),
                           audioEffect("audioamplify", "Amplifier")};
    EffectCatalogue catalogue(viewOf(registry));
    catalogue.fill();

    std::vector<QString> opened;
    std::function<void(QWidget*)> record;
    std::unique_ptr<QTimer> watch;
    record = [&](QWidget* modal) {
        auto* editor = qobject_cast<PropertyDialog*>(modal);
        ASSERT_NE(editor, nullptr);
        opened.push_back(editor->findChild<QWidget*>(QStringLiteral("intensity"))
                             ? QStringLiteral("echo")
                             : QStringLiteral("amplifier"));
        QTimer::singleShot(0, editor, [editor] { editor->accept(); });
        QTimer::singleShot(50, [&] { watch = onNextModal(record); });
    };
    watch = onNextModal(record);
    const std::vector<int> indices{3, 2, 1, 0, 9, -1};
    EXPECT_EQ(showPropertyPages(catalogue, indices, nullptr), 0);
    EXPECT_EQ(opened, (std::vector<QString>{QStringLiteral("echo"), QStringLiteral("amplifier")}));
}

}  // namespace
