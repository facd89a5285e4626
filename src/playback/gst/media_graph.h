#pragma once
// MediaGraph plays songs through one GStreamer pipeline per run of songs: the output
// (OutputLine) stays open while each song's part (SongPipeline) joins it, one after the
// other, without a gap (prepareNext). It opens the file, runs, pauses and stops it, seeks
// and sets a stop time
// in seconds, reports duration and position, reads the song's author, title, comment,
// album, track number and cover picture from its tags and folder, hands bus messages to
// its owner one at a time and writes the pipeline report. The player uses one on the
// user-interface thread; the song searcher makes a probe of its own on the search thread,
// which only opens files.
#include <gst/gst.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/gst/gst_ptr.h"
#include "playback/core/player.h"

class OutputLine;
class PreparedSong;
class PrerollJob;
class SongBus;
class SongPipeline;

enum class GraphState : std::int32_t { None = 0, Empty = 1, Stopped = 2, Paused = 3, Running = 4 };

class MediaGraph : public Player {
  public:
    enum class Mode {
        Playback,  // plays to VORN_AUDIO_SINK or autoaudiosink
        Probe,     // only opens files; sound goes to a fakesink, the device is never opened
    };
    // Longest wait for a file to preroll in Open. The file is opened and read on a thread
    // of its own (PrerollJob): a file whose open or read never returns (a dead network
    // mount) fails like one that can't be opened once this has passed.
    static constexpr int kOpenTimeoutMs = 5000;
    // Files given up on whose calls have not returned yet, beyond which Open refuses at
    // once: a mount that stopped answering would otherwise pile up a stuck thread and
    // pipeline per file.
    static constexpr int kMaxLeftBehind = 16;

    // GStreamer must be initialised. Makes the discard renderer once (lastResult tells
    // whether that worked; without it graphs are built without it).
    explicit MediaGraph(Mode mode = Mode::Playback);
    ~MediaGraph() override;
    MediaGraph(const MediaGraph&) = delete;
    MediaGraph& operator=(const MediaGraph&) = delete;

    virtual std::int32_t LastResult() const { return lastResult_; }
    std::string GetErrorText(std::size_t size) override;
    // The current pipeline's bus, or nullptr without a graph (not owned).
    virtual GstBus* EventHandle() const;
    bool CanRun() const override;
    bool CanPause() const override;
    bool CanStop() const override;

    // 0 when the file prerolled with an audio stream, else -1 (state stays Empty). The
    // previous pipeline (its output, its song and a prepared one) is finalized first, as
    // is the new one when it fails. A probe instead keeps one pipeline from file to file
    // and only points it at the next.
    int Open(const std::string& path, bool withNullRenderer) override;
    // Finalizes the pipeline; the graph stays usable (Empty) for the next Open.
    virtual int Close();
    int Run(const char* caption) override;
    int Pause() override;
    int Stop() override;
    int PollEvent() override;
    virtual int CreateGraph();
    virtual void SetState(GraphState state) { state_ = state; }
    GraphState state() const { return state_; }
    // The open song's file, or the joined song's once it follows.
    const std::string& songPath() const { return path_; }

    void SetNotifyWindow(GraphNotifyFn notify) override;
    int GetContentText(int kind, std::string& text) override;
    // Album and track number from the tags gathered up to preroll; the cover is the folder's
    // picture (cover_file.h), else the picture in the tags as a file in the cover cache
    // (cover_cache.h). Worked out at the first call after an Open and kept until the next.
    SongDetails GetSongDetails() override;
    double GetDuration() override;
    double GetCurrentPosition() override;
    int SetStopTime(double seconds) override;
    int Seek(double seconds, bool absolute) override;

    void setReportPath(const std::string& path) override { reportPath_ = path; }
    const std::string& reportPath() const { return reportPath_; }
    void setEffects(EffectCatalogue* effects) override { effects_ = effects; }
    // Called every few milliseconds while a playback graph's Open waits for its file;
    // answering false gives up on the file at once. A probe never calls it.
    void setOpenWait(std::function<bool()> pump) override { openWait_ = std::move(pump); }
    EffectCatalogue* effects() const { return effects_; }
    // Held to 0..1; a probe plays nothing and keeps none.
    void setVolume(double volume) override;
    bool prepareNext(const std::string& path, int demoSeconds) override;
    void dropNext() override;
    bool nextJoined() const override { return nextJoined_; }

    // For tests and the report: the current pipeline (not owned), or nullptr. A song's
    // part is inside it, with the output and a prepared song that has joined.
    GstElement* pipeline() const;
    bool hasNullRenderer() const { return nullRenderer_ != nullptr; }
    // Bus messages waiting for PollEvent.
    std::size_t pendingEvents() const;
    // The stop position last set by SetStopTime, in 100-ns units (-1: none).
    std::int64_t stopTimeUnits() const { return stopUnits_; }

  private:
    // A result code and its text, as takeError reads them off an error message.
    struct ErrorResult {
        std::int32_t code = 0;
        std::string text;
    };
    static ErrorResult errorResult(GstMessage* message);
    void setResult(std::int32_t code, std::string text = {});
    // Stops and finalizes the current pipeline, giving the shared elements back first.
    void releaseGraph();
    void takeError(GstMessage* message);
    // A probe's pipeline, rewound and pointed at `path`; false when it can't take it.
    bool reopenProbe(const std::string& path, GstElement* renderer);
    // Takes the pipeline to PAUSED on a PrerollJob, waiting at most kOpenTimeoutMs.
    bool preroll(const std::string& path);
    // Leaves the pipeline to `job`, which releases it once its call returns.
    void giveUp(const std::shared_ptr<PrerollJob>& job);
    bool setPipelineState(GstState target);
    double fallbackDuration();
    // Takes an end of stream or an error as the song's end once: one failure posts an
    // error from the element and another from each bin above it.
    int songEnd(int code);
    // What a message other than an end does to the graph; true when the prepared song
    // took over (the running one ended).
    bool takeOtherMessage(GstMessage* message);
    // The prepared song's job has ended: a ready song joins behind the running one.
    void joinPrepared();
    // Concat moved on: when to the prepared song, it becomes the graph's song.
    bool takeJoin();
    // The new song's tags, texts and times, after an Open or a join.
    void beginSong(const std::string& path, GstTagListPtr tags);
    // Where a seek goes and a position is read: the output's sink, so neither reaches a
    // prepared song's part; a probe's pipeline.
    GstElement* seekTarget() const;
    // Where a song's length is asked: its part's output, upstream of concat.
    bool queryDuration(GstFormat format, gint64& value) const;
    int seekTo(GstSeekType startType, std::int64_t startUnits, GstSeekType stopType,
               std::int64_t stopUnits);

    std::int32_t lastResult_ = 0;
    std::string errorText_;
    std::unique_ptr<OutputLine> output_;   // a player's: the pipeline and what outlives songs
    std::unique_ptr<SongPipeline> graph_;  // the song's part, or the probe's pipeline
    std::unique_ptr<SongBus> bus_;
    GstPadPtr input_;                     // the song's input on the output's concat
    std::unique_ptr<PreparedSong> next_;  // the song to follow, while prepared
    GstPadPtr nextInput_;                 // its input, once it has joined
    int nextDemoSeconds_ = 0;
    std::int64_t nextStopUnits_ = -1;  // its demo stop, in 100-ns units (-1: none)
    std::string nextReportPath_;
    bool nextJoined_ = false;
    bool pendingJoin_ = false;            // a seek took the join's message off the bus
    GstElementPtr spareRenderer_;         // the prepared song's renderer while it is not lent
    GstTagListPtr streamTags_;            // every tag seen up to preroll
    GstTagListPtr content_;               // the same, when they name the song; null otherwise
    std::optional<SongDetails> details_;  // the open song's, once asked for
    GstElementPtr nullRenderer_;
    std::string reportPath_;
    EffectCatalogue* effects_ = nullptr;
    std::function<bool()> openWait_;
    GraphState state_ = GraphState::None;
    Mode mode_;
    std::string path_;     // the open song's file
    double volume_ = 1.0;  // the program's, cubic
    double estimatedDuration_ = -1.0;
    bool framesCounted_ = false;
    std::optional<double> frameCountSeconds_;  // the raw MPEG audio file's length
    std::int64_t stopUnits_ = -1;
    bool songEnded_ = false;  // PollEvent has reported this play's end
    // An error a seek took off the bus before PollEvent saw it: its notification is on
    // its way, so the next PollEvent reports it as this play's end.
    std::optional<ErrorResult> pendingError_;
};
