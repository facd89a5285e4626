#include "effects/gst/effect_catalogue.h"

#include <algorithm>
#include <utility>

#include "app/core/text_cut.h"
#include "app/gst/gst_init.h"

namespace {

constexpr std::size_t kMaxNameBytes = 255;

std::string metadataOf(GstElementFactory* factory, const char* key) {
    const gchar* value = gst_element_factory_get_metadata(factory, key);
    return value ? value : "";
}

int listRegistry(std::vector<EffectFactoryInfo>& factories) {
    ensureGstInitialised();
    GstFeatureListPtr features(
        gst_registry_get_feature_list(gst_registry_get(), GST_TYPE_ELEMENT_FACTORY));
    for (GList* item = features.get(); item; item = item->next) {
        auto* factory = GST_ELEMENT_FACTORY(item->data);
        factories.push_back({GST_OBJECT_NAME(factory),
                             metadataOf(factory, GST_ELEMENT_METADATA_LONGNAME),
                             metadataOf(factory, GST_ELEMENT_METADATA_KLASS)});
    }
    return kResultOk;
}

// The audio effect factories of `view`, in a stable order by factory name.
int listEffects(const EffectRegistryView& view, std::vector<EffectFactoryInfo>& effects) {
    std::vector<EffectFactoryInfo> factories;
    const int result = view ? view(factories) : kResultFail;
    if (result < 0)
        return result;
    for (auto& factory : factories) {
        if (isAudioEffectClass(factory.klass))
            effects.push_back(std::move(factory));
    }
    std::stable_sort(effects.begin(), effects.end(),
                     [](const EffectFactoryInfo& a, const EffectFactoryInfo& b) {
                         return a.factoryName < b.factoryName;
                     });
    return kResultOk;
}

}  // namespace

EffectRegistryView gstRegistryView() {
    return listRegistry;
}

bool isAudioEffectClass(const std::string& klass) {
    return klass.find("Filter") != std::string::npos && klass.find("Effect") != std::string::npos &&
           klass.find("Audio") != std::string::npos;
}

int checkEffectSupport(const EffectRegistryView& view) {
    try {
        std::vector<EffectFactoryInfo> effects;
        if (listEffects(view, effects) < 0)
            return 1;
        if (effects.empty())
            throw dllload_error("no audio effect element is installed");
        return 0;
    } catch (const dllload_error&) {
        return -1;
    }
}

EffectCatalogue::EffectCatalogue() : view_(gstRegistryView()) {}

EffectCatalogue::EffectCatalogue(EffectRegistryView view) : view_(std::move(view)) {}

EffectCatalogue::~EffectCatalogue() {
    clearEntries();
}

int EffectCatalogue::effectCount() const {
    return static_cast<int>(entries_.size());
}

const char* EffectCatalogue::effectName(int index) const {
    if (index < 0 || index >= effectCount())
        return "";
    return entries_[static_cast<std::size_t>(index)]->name.c_str();
}

int EffectCatalogue::fill() {
    std::vector<EffectFactoryInfo> effects;
    const int result = listEffects(view_, effects);
    if (result < 0)
        return result;
    for (auto& effect : effects) {
        auto entry = std::make_unique<EffectEntry>();
        entry->clsid = std::move(effect.factoryName);
        entry->name = cutUtf8(effect.longName, kMaxNameBytes);
        entries_.push_back(std::move(entry));
    }
    return kResultFalse;
}

void EffectCatalogue::select(int index) {
    if (index >= 0 && index < effectCount())
        entries_[static_cast<std::size_t>(index)]->selected = true;
}

void EffectCatalogue::deselect(int index) {
    if (index == -1) {
        for (auto& entry : entries_)
            entry->selected = false;
    } else if (index >= 0 && index < effectCount()) {
        entries_[static_cast<std::size_t>(index)]->selected = false;
    }
}

bool EffectCatalogue::isSelected(int index) const {
    return index >= 0 && index < effectCount() &&
           entries_[static_cast<std::size_t>(index)]->selected;
}

void EffectCatalogue::clearEntries() {
    entries_.clear();
}

int EffectCatalogue::wrapperFor(int index, GstElement** element) {
    if (element)
        *element = nullptr;
    if (!element || index < 0 || index >= effectCount())
        return kResultFail;
    EffectEntry& entry = *entries_[static_cast<std::size_t>(index)];
    if (!entry.wrapper) {
        GstObjectPtr<GstElementFactory> factory(gst_element_factory_find(entry.clsid.c_str()));
        if (!factory)
            return kResultClassNotRegistered;
        entry.wrapper =
            adoptSunk(gst_element_factory_create(factory.get(), elementNameFor(index).c_str()));
        if (!entry.wrapper)
            return kResultFail;
    }
    *element = entry.wrapper.get();
    return kResultOk;
}

int EffectCatalogue::selectedWrapperFor(int index, GstElement** element) {
    if (element)
        *element = nullptr;
    if (!isSelected(index))
        return kResultFail;
    return wrapperFor(index, element);
}

// Elements in one bin need distinct names; an effect is named after itself unless
// another entry bears the same name.
std::string EffectCatalogue::elementNameFor(int index) const {
    const std::string& name = entries_[static_cast<std::size_t>(index)]->name;
    const bool shared = std::count_if(entries_.begin(), entries_.end(),
                                      [&](const auto& other) { return other->name == name; }) > 1;
    if (!shared && !name.empty())
        return name;
    return name + " #" + std::to_string(index);
}
