#pragma once
// The session's pipeline and the part of it that outlives every song: a concat element
// whose inputs are the songs' parts, one after the other, then audioconvert !
// audioresample ! [effects] ! audioconvert [! volume] ! capsfilter to the audio sink (the
// volume element only for a sink without a volume of its own). Once the first song has
// set the sink's rate, the capsfilter holds it: a later song at another rate is resampled
// rather than making the sink open its device or stream again. A song's part (SongPipeline built
// as a part) joins behind the one that plays; when that one ends, concat carries on with
// the next without a gap, and the sink, the effects and the volume stay open.
#include <gst/gst.h>

#include <vector>

#include "app/gst/gst_ptr.h"
#include "effects/gst/effect_chain.h"

class EffectCatalogue;

class OutputLine {
  public:
    // An empty pipeline; null pipeline() when it can't be made.
    OutputLine();
    ~OutputLine();
    OutputLine(const OutputLine&) = delete;
    OutputLine& operator=(const OutputLine&) = delete;

    GstElement* pipeline() const { return pipeline_.get(); }
    // The audio sink (VORN_AUDIO_SINK or autoaudiosink), inside the pipeline.
    GstElement* sink() const { return sink_; }

    // Adds the output's elements with `effects` (nullptr: none) and the program's volume
    // (0..1, cubic). False when an element can't be made or linked.
    bool build(EffectCatalogue* effects, double volume);
    // True when `effects` would give the chain this output was built with: the same
    // catalogue with the same selection, or none for none.
    bool playsEffects(EffectCatalogue* effects) const;

    // Adds the part `bin` to the pipeline and links its sound output `partOutput` to a
    // new input of concat, after every input it has: the concat pad, or null when the
    // link fails (the bin is then out of the pipeline again).
    GstPadPtr join(GstElement* bin, GstPad* partOutput);
    // Takes a part out again: its input is released (concat moves on, or ends the
    // stream, when it was the one playing), the bin goes to NULL and leaves the pipeline.
    void leave(GstElement* bin, const GstPadPtr& input);
    // The input concat plays from (null before its first buffer and after its end).
    GstPadPtr activeInput() const;

    void setVolume(double volume);
    // Holds the sink at the rate it took for the first song (once it has one).
    void holdRate();

    // Takes the pipeline to NULL and the shared effects out of it, so another pipeline
    // can hold them. Safe to call more than once.
    void detachShared();

    // The name of the application message posted each time concat moves to another input.
    static constexpr const char* kInputChanged = "vorn-input-changed";

    // The audio sink made from VORN_AUDIO_SINK, or autoaudiosink.
    static GstElement* makeAudioSink();

  private:
    static void onActivePad(GObject* concat, GParamSpec* spec, gpointer self);

    GstElementPtr pipeline_;
    GstElement* concat_ = nullptr;  // inside pipeline_
    GstElement* sink_ = nullptr;    // inside pipeline_
    GstElement* rate_ = nullptr;    // the capsfilter before it, inside pipeline_
    EffectChain effectChain_;
    EffectCatalogue* effects_ = nullptr;
    std::vector<bool> selection_;  // the catalogue's selection when built
    GstElementPtr volume_;         // the GstStreamVolume the program's volume goes to
};
