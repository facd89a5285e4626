#pragma once
// One song's elements: a uridecodebin for the file, its first video stream, still
// compressed, to the discard renderer, and every other stream to a fakesink of its own,
// so no pad is left unlinked. A song played is a part: a bin whose first audio stream
// leaves decoded through audioconvert and the bin's "src" pad, which the session's
// output (OutputLine) joins behind the song before it; the bin handles its own sinks'
// prerolls, so it can join a pipeline that plays.
//
// A probe pipeline serves a whole search: after rewind() it takes the next file with
// reopen(), keeping its uridecodebin and the decoders that one has set up (each new
// decodebin would gather and sort the registry's decodable factories again). A probe lends
// the discard renderer only to a file that offers a picture.
#include <gst/gst.h>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/gst/gst_ptr.h"

class SongPipeline {
  public:
    struct Options {
        // Probe pipelines send the sound to a fakesink and never open the sound device.
        bool probe = false;
        // The discard renderer, reused from song to song (nullptr: none); the part holds it
        // only until detachShared().
        GstElement* renderer = nullptr;
    };

    // An empty probe pipeline, or an empty part (a bin); null pipeline() when it can't be
    // made.
    explicit SongPipeline(bool part = false);
    ~SongPipeline();
    SongPipeline(const SongPipeline&) = delete;
    SongPipeline& operator=(const SongPipeline&) = delete;

    // The probe's pipeline, or the part's bin.
    GstElement* pipeline() const { return pipeline_.get(); }
    // A part's decoded sound (its ghost "src" pad); null for a probe.
    GstPad* output() const { return output_.get(); }

    // Adds the elements for the file at `path` (bytes as the file system gave them). False
    // when an element can't be made or linked; the pipeline is then left as it is.
    bool build(const std::string& path, const Options& options);

    // A probe pipeline that has been rewound: points the decoder at the file at `path` and
    // lends it `renderer` (may be nullptr) should a picture come. False when the pipeline
    // was not built as a probe or the path can't be a URI.
    bool reopen(const std::string& path, GstElement* renderer);
    // Takes a probe pipeline back to READY, ready for reopen(): the file's streams are gone,
    // and so are the fakesinks they went to and the lent renderer. Nothing of the file is
    // left: no link, no flag, no running thread.
    void rewind();

    // True once the file's audio stream reached the audio branch.
    bool audioLinked() const { return audioLinked_.load(); }
    // Waits, at most `timeoutMs`, until the decoder has exposed all its streams and the
    // renderer, when a picture went to it, knows the picture's format. The sound alone can
    // preroll the pipeline before that, and the report must show the whole pipeline.
    void waitForStreamsSettled(int timeoutMs) const;

    // Takes the pipeline or part to NULL and the renderer out of it, so the next song can
    // hold it. Safe to call more than once.
    void detachShared();

  private:
    static void onPadAdded(GstElement* decoder, GstPad* pad, gpointer self);
    static void onNoMorePads(GstElement* decoder, gpointer self);
    static void onRendererCaps(GstPad* pad, GParamSpec* spec, gpointer self);
    // Wakes waitForStreamsSettled to look again.
    void streamsChanged();
    bool streamsSettled() const;
    // Returns decodebin's GstAutoplugSelectResult (0 try, 1 expose), not in a public header.
    static int onAutoplugSelect(GstElement* decoder, GstPad* pad, GstCaps* caps,
                                GstElementFactory* factory, gpointer self);
    bool buildProbeAudio();
    bool buildPartOutput();
    void routePad(GstPad* pad);
    bool linkToFakesink(GstPad* pad);
    // A probe's renderer goes into the pipeline only for a picture; true when it took `pad`.
    bool lendRenderer(GstPad* pad);
    void watchRendererCaps();
    // Takes the renderer out (the pipeline at READY or below).
    void takeBackRenderer();

    GstElementPtr pipeline_;
    GstElement* decoder_ = nullptr;         // inside pipeline_
    GstElement* audioInput_ = nullptr;      // first element of the audio branch, inside pipeline_
    GstElement* renderer_ = nullptr;        // shared; inside pipeline_ until detached
    GstElement* lendable_ = nullptr;        // a probe's renderer, not yet lent to this file
    std::vector<GstElement*> streamSinks_;  // under routeMutex_; inside pipeline_
    GstPadPtr output_;                      // a part's ghost "src" pad
    bool keepVideoCompressed_ = false;
    bool probe_ = false;
    std::mutex routeMutex_;
    std::atomic<bool> audioLinked_{false};
    std::atomic<bool> allPadsExposed_{false};
    bool videoLinked_ = false;  // under routeMutex_
    GstPadPtr rendererPad_;     // the renderer's input while a picture goes to it
    mutable std::mutex settleMutex_;
    mutable std::condition_variable settleChanged_;
};
