#pragma once
// The installed audio effects: every GStreamer element factory whose class names it an
// audio effect filter, the user's choice among them for this run, and the one element
// instance per effect that goes into the pipeline of every song.
#include <gst/gst.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/gst/gst_ptr.h"

// COM-style result codes of the catalogue operations.
inline constexpr int kResultOk = 0;
inline constexpr int kResultFalse = 1;  // the listing ended normally
inline constexpr int kResultFail = static_cast<int>(0x80004005u);
inline constexpr int kResultClassNotRegistered = static_cast<int>(0x80040154u);

// One element factory as the registry describes it.
struct EffectFactoryInfo {
    std::string factoryName;  // "audioecho"
    std::string longName;     // "Audio echo"
    std::string klass;        // "Filter/Effect/Audio"
};

// Lists the registry's element factories into `factories`. Returns 0, or a negative
// failure code when the listing itself failed.
using EffectRegistryView = std::function<int(std::vector<EffectFactoryInfo>& factories)>;

// The view over the process's GStreamer registry (initialises GStreamer when called).
EffectRegistryView gstRegistryView();

// True for a factory class that names an audio effect ("Filter", "Effect" and "Audio").
bool isAudioEffectClass(const std::string& klass);

// Thrown inside checkEffectSupport when no audio effect can be provided at all.
class dllload_error : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// 0 when audio effects can be listed, 1 when the listing fails, -1 when the registry
// offers no audio effect factory at all.
int checkEffectSupport(const EffectRegistryView& view = gstRegistryView());

// The names of the effects, as the selection dialog and the chain builder read them.
class EffectNameList {
  public:
    virtual ~EffectNameList() = default;
    virtual int effectCount() const = 0;
    virtual const char* effectName(int index) const = 0;
};

struct EffectEntry {
    std::string clsid;  // the factory name, which identifies the effect
    std::string name;   // the factory's long name, at most 255 bytes
    bool selected = false;
    GstElementPtr wrapper;  // the effect's element, made on first need
};

class EffectCatalogue : public EffectNameList {
  public:
    EffectCatalogue();  // empty; the registry is read only by fill
    explicit EffectCatalogue(EffectRegistryView view);
    ~EffectCatalogue() override;
    EffectCatalogue(const EffectCatalogue&) = delete;
    EffectCatalogue& operator=(const EffectCatalogue&) = delete;

    int effectCount() const override;
    // The name of entry `index`; "" for an index outside the catalogue.
    const char* effectName(int index) const override;

    // Appends the registry's audio effects, sorted by factory name. Returns 1 when the
    // listing ended normally, else the view's negative failure code (nothing added).
    int fill();
    void select(int index);
    void deselect(int index);  // -1: every entry
    bool isSelected(int index) const;
    void clearEntries();

    // The element of entry `index`, made on first need and kept for the run. The caller
    // borrows it (no reference is added). *element is nullptr on failure.
    int wrapperFor(int index, GstElement** element);
    // As wrapperFor, but fails for an entry that is not selected.
    int selectedWrapperFor(int index, GstElement** element);

  private:
    std::string elementNameFor(int index) const;

    EffectRegistryView view_;
    std::vector<std::unique_ptr<EffectEntry>> entries_;
};
