#include "playback/gst/media_graph.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "app/core/text_cut.h"
#include "playback/core/cover_file.h"
#include "playback/core/media_time.h"
#include "playback/core/mpeg_audio_length.h"
#include "playback/core/play_modes.h"
#include "playback/core/result_codes.h"
#include "playback/gst/class_factory.h"
#include "playback/gst/cover_cache.h"
#include "playback/gst/graph_report.h"
#include "playback/gst/missing_plugins.h"
#include "playback/gst/output_line.h"
#include "playback/gst/pipeline_errors.h"
#include "playback/gst/prepared_song.h"
#include "playback/gst/preroll_job.h"
#include "playback/gst/riff_id3_tags.h"
#include "playback/gst/song_bus.h"
#include "playback/gst/song_pipeline.h"

namespace {
// Callers' text buffers hold 256 bytes with the terminator.
constexpr std::size_t kContentTextBytes = 255;
// Longest wait for a seek to settle.
constexpr GstClockTime kSeekWaitNs = 5 * GST_SECOND;
// The name the discard renderer carries in every pipeline.
constexpr const char* kNullRendererName = "NULL Video (tavik)";
// The application message a prepared song's job posts once its outcome is known.
constexpr const char* kPreparedMessage = "vorn-song-prepared";

// Codec and bitrate tags describe the stream; only these describe the song.
bool hasContentTags(const GstTagList* tags) {
    if (!tags)
        return false;
    for (const char* tag : {GST_TAG_ARTIST, GST_TAG_TITLE, GST_TAG_COMMENT, GST_TAG_DESCRIPTION})
        if (gst_tag_list_get_tag_size(tags, tag) > 0)
            return true;
    return false;
}

std::string tagText(const GstTagList* tags, const char* tag) {
    gchar* value = nullptr;
    if (!gst_tag_list_get_string(tags, tag, &value) || !value)
        return "";
    GCharPtr owned(value);
    return owned.get();
}
}  // namespace

MediaGraph::MediaGraph(Mode mode) : mode_(mode) {
    nullRenderer_ = adoptSunk(createElementByClassId(kNullRendererClassId, kNullRendererName));
    if (nullRenderer_) {
        setResult(result::kOk);
    } else {
        setResult(result::kClassNotRegistered);
    }
}

MediaGraph::~MediaGraph() {
    releaseGraph();
}

void MediaGraph::setResult(std::int32_t code, std::string text) {
    lastResult_ = code;
    errorText_ = std::move(text);
}

MediaGraph::ErrorResult MediaGraph::errorResult(GstMessage* message) {
    GError* rawError = nullptr;
    gst_message_parse_error(message, &rawError, nullptr);
    GErrorPtr error(rawError);
    return {resultCodeForError(error.get()), error ? error->message : ""};
}

void MediaGraph::takeError(GstMessage* message) {
    ErrorResult error = errorResult(message);
    setResult(error.code, std::move(error.text));
}

std::string MediaGraph::GetErrorText(std::size_t size) {
    if (size < 2 || lastResult_ == result::kOk)
        return "";
    std::string text = errorText_.empty() ? resultCodeText(lastResult_) : errorText_;
    return cutUtf8(text, size - 2);
}

GstBus* MediaGraph::EventHandle() const {
    GstElement* element = pipeline();
    if (!element)
        return nullptr;
    GstBusPtr bus(gst_element_get_bus(element));
    return bus.get();  // the pipeline keeps its bus alive
}

GstElement* MediaGraph::pipeline() const {
    if (output_)
        return output_->pipeline();
    return graph_ ? graph_->pipeline() : nullptr;
}

GstElement* MediaGraph::seekTarget() const {
    if (output_ && output_->sink())
        return output_->sink();
    return pipeline();
}

bool MediaGraph::queryDuration(GstFormat format, gint64& value) const {
    if (output_ && graph_ && graph_->output())
        return gst_pad_query_duration(graph_->output(), format, &value);
    return pipeline() && gst_element_query_duration(pipeline(), format, &value);
}

std::size_t MediaGraph::pendingEvents() const {
    return bus_ ? bus_->pending() : 0;
}

bool MediaGraph::CanRun() const {
    return state_ == GraphState::Stopped || state_ == GraphState::Paused;
}
bool MediaGraph::CanPause() const {
    return state_ == GraphState::Running || state_ == GraphState::Stopped;
}
bool MediaGraph::CanStop() const {
    return state_ == GraphState::Running || state_ == GraphState::Paused;
}

int MediaGraph::CreateGraph() {
    releaseGraph();
    const bool probe = mode_ == Mode::Probe;
    auto graph = std::make_unique<SongPipeline>(!probe);
    auto output = probe ? nullptr : std::make_unique<OutputLine>();
    if (!graph->pipeline() || (output && !output->pipeline())) {
        setResult(result::kOutOfMemory);
        return -1;
    }
    GstBusPtr bus(gst_element_get_bus(output ? output->pipeline() : graph->pipeline()));
    bus_ = std::make_unique<SongBus>(bus.get());
    graph_ = std::move(graph);
    output_ = std::move(output);
    setResult(result::kOk);
    state_ = GraphState::Empty;
    return 0;
}

namespace {
// How long an opened song may take to expose its last streams after the sound prerolled.
constexpr int kSettleTimeoutMs = 2000;
}  // namespace

int MediaGraph::Open(const std::string& path, bool withNullRenderer) {
    details_.reset();
    nextJoined_ = false;
    GstElement* renderer = withNullRenderer ? nullRenderer_.get() : nullptr;
    bool opened = mode_ == Mode::Probe && graph_ && reopenProbe(path, renderer);
    if (!opened) {
        Close();
        if (CreateGraph() != 0)
            return -1;
        SongPipeline::Options options;
        options.probe = mode_ == Mode::Probe;
        options.renderer = renderer;
        opened = graph_->build(path, options);
        if (opened && output_) {
            opened = output_->build(effects_, volume_);
            input_ = opened ? output_->join(graph_->pipeline(), graph_->output()) : nullptr;
            opened = input_ != nullptr;
        }
    }
    if (!opened)
        setResult(result::kOutOfMemory);
    opened = opened && preroll(path);
    if (!graph_) {
        // Given up on: the job releases the pipeline once its call returns.
        content_.reset();
        streamTags_.reset();
        state_ = GraphState::Empty;
        return -1;
    }
    if (opened && mode_ != Mode::Probe)
        graph_->waitForStreamsSettled(kSettleTimeoutMs);
    if (opened && !graph_->audioLinked()) {
        setResult(result::kCannotRender);
        opened = false;
    }
    bus_->setCollectingTags(false);
    if (!opened) {
        reportMissingPlugins(
            path, bus_->missingPlugins(),
            mode_ == Mode::Probe ? MissingPluginScope::OncePerRun : MissingPluginScope::EachFile);
        // A decoder that failed may keep its error state into the next file, and failures
        // are rare in a search: the next file gets a new pipeline.
        releaseGraph();
        state_ = GraphState::Empty;
        return -1;
    }
    // What happened while prerolling is no event for the owner.
    bus_->clear();
    if (output_)
        output_->holdRate();
    beginSong(path, bus_->tags());
    if (!reportPath_.empty())
        WriteGraphReport(pipeline(), reportPath_);
    reportPath_.clear();
    state_ = GraphState::Stopped;
    setResult(result::kOk);
    return 0;
}

void MediaGraph::beginSong(const std::string& path, GstTagListPtr tags) {
    streamTags_ = std::move(tags);
    mergeRiffId3Tags(graph_->pipeline(), path, streamTags_);
    content_.reset(hasContentTags(streamTags_.get()) ? gst_tag_list_copy(streamTags_.get())
                                                     : nullptr);
    details_.reset();
    path_ = path;
    estimatedDuration_ = -1.0;
    framesCounted_ = false;
    frameCountSeconds_.reset();
    stopUnits_ = -1;
    songEnded_ = false;
    pendingError_.reset();
}

bool MediaGraph::prepareNext(const std::string& path, int demoSeconds) {
    const bool running = state_ == GraphState::Running || state_ == GraphState::Paused;
    if (!output_ || !graph_ || !running || next_ || songEnded_ || !output_->playsEffects(effects_))
        return false;
    nextJoined_ = false;
    if (!spareRenderer_ && nullRenderer_)
        spareRenderer_ = adoptSunk(createElementByClassId(kNullRendererClassId, kNullRendererName));
    auto part = std::make_unique<SongPipeline>(true);
    SongPipeline::Options options;
    options.renderer = spareRenderer_.get();
    if (!part->pipeline() || !part->build(path, options))
        return false;
    GstBusPtr bus(gst_element_get_bus(output_->pipeline()));
    auto ended = [bus = std::shared_ptr<GstBus>(bus.release(), gst_object_unref)] {
        GstStructure* what = gst_structure_new_empty(kPreparedMessage);
        gst_bus_post(bus.get(), gst_message_new_application(nullptr, what));
    };
    const auto deadline = PreparedSong::Clock::now() + std::chrono::milliseconds(kOpenTimeoutMs);
    next_ = PreparedSong::start(path, std::move(part), std::move(spareRenderer_), deadline,
                                std::move(ended));
    if (!next_)
        return false;
    nextDemoSeconds_ = demoSeconds;
    nextReportPath_ = reportPath_;
    reportPath_.clear();
    return true;
}

void MediaGraph::dropNext() {
    if (nextInput_ && next_ && next_->part())
        output_->leave(next_->part()->pipeline(), nextInput_);
    nextInput_.reset();
    next_.reset();
}

// On the owner's thread: a ready song joins the pipeline behind the running one, with its
// demo stop, and its sound goes on to wait inside concat. A song that failed is dropped;
// it then opens as any other when its turn comes, and fails there as it would have.
void MediaGraph::joinPrepared() {
    if (!next_ || nextInput_)
        return;
    SongPipeline* part = next_->part();
    if (next_->outcome() != PreparedSong::Outcome::Ready || !part || !output_) {
        dropNext();
        return;
    }
    gint64 ns = -1;
    double seconds = -1.0;
    if (std::optional<double> frames = mpegAudioFileSeconds(next_->path()))
        seconds = *frames;
    else if (gst_pad_query_duration(part->output(), GST_FORMAT_TIME, &ns) && ns >= 0)
        seconds = mediaUnitsToSeconds(nanosecondsToMediaUnits(ns));
    nextStopUnits_ = -1;
    if (demoCutsSong(nextDemoSeconds_, seconds)) {
        nextStopUnits_ = secondsToMediaUnits(nextDemoSeconds_);
        next_->cutAt(mediaUnitsToNanoseconds(nextStopUnits_));
    }
    nextInput_ = output_->join(part->pipeline(), part->output());
    if (!nextInput_) {
        dropNext();
        return;
    }
    gst_element_sync_state_with_parent(part->pipeline());
    next_->releaseSound();
}

// Concat has taken its next input. When that is the prepared song's, the song that ended
// leaves the pipeline and the prepared one is the graph's song from now on.
bool MediaGraph::takeJoin() {
    if (!next_ || !nextInput_ || output_->activeInput().get() != nextInput_.get())
        return false;
    // Its tags are read off its output while the job still holds the part.
    GstTagListPtr tags = next_->tags();
    const std::string path = next_->path();
    GstElementPtr renderer;
    std::unique_ptr<SongPipeline> part = next_->takePart(renderer);
    if (!part)
        return false;
    output_->leave(graph_->pipeline(), input_);
    graph_->detachShared();
    graph_ = std::move(part);
    input_ = std::move(nextInput_);
    spareRenderer_ = std::move(nullRenderer_);
    nullRenderer_ = std::move(renderer);
    next_.reset();
    beginSong(path, std::move(tags));
    stopUnits_ = nextStopUnits_;
    if (!nextReportPath_.empty())
        WriteGraphReport(pipeline(), nextReportPath_);
    nextReportPath_.clear();
    nextJoined_ = true;
    return true;
}

namespace {
// A job ends by itself at its deadline unless a call inside it is stuck.
constexpr std::chrono::milliseconds kStuckGrace{250};
}  // namespace

bool MediaGraph::preroll(const std::string& path) {
    if (PrerollJob::leftBehind() >= kMaxLeftBehind) {
        setResult(result::kTimeout);
        return false;
    }
    const auto deadline = PrerollJob::Clock::now() + std::chrono::milliseconds(kOpenTimeoutMs);
    std::shared_ptr<PrerollJob> job = PrerollJob::start(path, pipeline(), *bus_, deadline);
    if (!job) {
        setResult(result::kOutOfMemory);
        return false;
    }
    static const std::function<bool()> kNoPump;
    const bool ended =
        job->wait(deadline + kStuckGrace, mode_ == Mode::Probe ? kNoPump : openWait_);
    PrerollJob::Result done = ended ? job->takeResult() : PrerollJob::Result{};
    switch (done.outcome) {
        case PrerollJob::Outcome::Prerolled:
            return true;
        case PrerollJob::Outcome::NotAFile:
            setResult(result::kInvalidFileFormat, "The file is not a regular file.");
            return false;
        case PrerollJob::Outcome::Failed:
            takeError(done.error.get());
            return false;
        case PrerollJob::Outcome::Refused:
            setResult(result::kFail);
            return false;
        default:
            // Still inside a call, or a streaming thread may be: taking the pipeline to
            // NULL here would wait for it.
            setResult(result::kTimeout);
            giveUp(job);
            return false;
    }
}

void MediaGraph::giveUp(const std::shared_ptr<PrerollJob>& job) {
    PrerollJob::Leftovers leftovers;
    next_.reset();
    nextInput_.reset();
    input_.reset();
    leftovers.pipeline = std::move(graph_);
    leftovers.output = std::move(output_);
    leftovers.bus = std::move(bus_);
    // The renderer may be inside that pipeline; later songs get one of their own.
    leftovers.renderer = std::move(nullRenderer_);
    if (leftovers.renderer)
        nullRenderer_ = adoptSunk(createElementByClassId(kNullRendererClassId, kNullRendererName));
    PrerollJob::abandon(job, std::move(leftovers));
}

// Nothing of the previous file may reach the next: its pipeline is back at READY with its
// streams gone, and the bus has dropped its messages and tags.
bool MediaGraph::reopenProbe(const std::string& path, GstElement* renderer) {
    content_.reset();
    streamTags_.reset();
    graph_->rewind();
    bus_->restart();
    state_ = GraphState::Empty;
    return graph_->reopen(path, renderer);
}

int MediaGraph::Close() {
    details_.reset();
    content_.reset();
    streamTags_.reset();
    releaseGraph();
    state_ = GraphState::Empty;
    return 0;
}

// The order matters: the pipeline goes to NULL first, so no streaming thread posts any
// more; then the messages left on the bus go, since each holds its source element (the
// pipeline itself for an end of stream), which holds the bus. Only then can the last
// reference finalize the pipeline.
void MediaGraph::releaseGraph() {
    if (bus_)
        bus_->setNotify({});
    dropNext();
    if (output_)
        output_->detachShared();
    if (graph_)
        graph_->detachShared();
    input_.reset();
    bus_.reset();
    output_.reset();
    graph_.reset();
}

bool MediaGraph::setPipelineState(GstState target) {
    if (gst_element_set_state(pipeline(), target) == GST_STATE_CHANGE_FAILURE) {
        setResult(result::kFail);
        return false;
    }
    setResult(result::kOk);
    return true;
}

int MediaGraph::Run(const char* caption) {
    if (!CanRun())
        return 1;
    // Video goes to the discard renderer: there is no window to put a caption on.
    if (caption)
        setResult(result::kNoInterface);
    if (!setPipelineState(GST_STATE_PLAYING))
        return -1;
    state_ = GraphState::Running;
    return 0;
}

int MediaGraph::Pause() {
    if (!CanPause())
        return 1;
    if (!setPipelineState(GST_STATE_PAUSED))
        return -1;
    state_ = GraphState::Paused;
    return 0;
}

// Stopped is a paused pipeline too: the position stays where it was.
int MediaGraph::Stop() {
    if (!CanStop())
        return 1;
    if (!setPipelineState(GST_STATE_PAUSED))
        return -1;
    state_ = GraphState::Stopped;
    return 0;
}

int MediaGraph::PollEvent() {
    // A closed graph has no pipeline left, and so no event.
    if (!graph_ || !bus_)
        return state_ == GraphState::None ? NoGraph : OtherEvent;
    if (pendingError_) {
        setResult(pendingError_->code, std::move(pendingError_->text));
        pendingError_.reset();
        return songEnd(ErrorAbort);
    }
    if (nextJoined_ && pendingJoin_) {
        pendingJoin_ = false;
        return Complete;
    }
    // Every other message is taken on the way, so an end is never held up behind them.
    while (GstMessagePtr message = bus_->pop()) {
        int event = OtherEvent;
        switch (GST_MESSAGE_TYPE(message.get())) {
            case GST_MESSAGE_EOS:
                event = songEnd(Complete);
                break;
            case GST_MESSAGE_ERROR:
                if (!songEnded_)
                    takeError(message.get());
                event = songEnd(ErrorAbort);
                break;
            default:
                // The song that ended is over without a gap; the joined one starts.
                if (takeOtherMessage(message.get()))
                    event = Complete;
                break;
        }
        if (event != OtherEvent) {
            nextJoined_ = nextJoined_ && event == Complete &&
                          GST_MESSAGE_TYPE(message.get()) == GST_MESSAGE_APPLICATION;
            return event;
        }
    }
    return OtherEvent;
}

bool MediaGraph::takeOtherMessage(GstMessage* message) {
    switch (GST_MESSAGE_TYPE(message)) {
        case GST_MESSAGE_APPLICATION: {
            const GstStructure* what = gst_message_get_structure(message);
            if (gst_structure_has_name(what, kPreparedMessage))
                joinPrepared();
            else if (gst_structure_has_name(what, OutputLine::kInputChanged))
                return takeJoin();
            break;
        }
        case GST_MESSAGE_CLOCK_LOST:
            // The audio device went away and came back: pick a new clock.
            if (state_ == GraphState::Running) {
                gst_element_set_state(pipeline(), GST_STATE_PAUSED);
                gst_element_set_state(pipeline(), GST_STATE_PLAYING);
            }
            break;
        case GST_MESSAGE_DURATION_CHANGED:
            estimatedDuration_ = -1.0;
            break;
        default:
            break;
    }
    return false;
}

int MediaGraph::songEnd(int code) {
    if (songEnded_)
        return OtherEvent;
    songEnded_ = true;
    return code;
}

void MediaGraph::SetNotifyWindow(GraphNotifyFn notify) {
    if (!bus_)
        return;
    bus_->setNotify(std::move(notify));
    setResult(result::kOk);
}

int MediaGraph::GetContentText(int kind, std::string& text) {
    if (!content_ || kind < Author || kind > Description)
        return -2;
    std::string value;
    if (kind == Author)
        value = tagText(content_.get(), GST_TAG_ARTIST);
    if (kind == Title)
        value = tagText(content_.get(), GST_TAG_TITLE);
    if (kind == Description) {
        value = tagText(content_.get(), GST_TAG_COMMENT);
        if (value.empty())
            value = tagText(content_.get(), GST_TAG_DESCRIPTION);
    }
    text = cutUtf8(value, kContentTextBytes);
    return 0;
}

void MediaGraph::setVolume(double volume) {
    if (mode_ == Mode::Probe)
        return;
    volume_ = volume >= 0.0 ? std::min(volume, 1.0) : 0.0;  // NaN too
    if (output_)
        output_->setVolume(volume_);
}

SongDetails MediaGraph::GetSongDetails() {
    bool open = state_ == GraphState::Stopped || state_ == GraphState::Paused ||
                state_ == GraphState::Running;
    if (!open)
        return {};
    if (!details_) {
        SongDetails details;
        guint track = 0;
        if (streamTags_) {
            details.album = tagText(streamTags_.get(), GST_TAG_ALBUM);
            if (gst_tag_list_get_uint(streamTags_.get(), GST_TAG_TRACK_NUMBER, &track) &&
                track <= G_MAXINT)
                details.trackNumber = static_cast<int>(track);
        }
        details.coverPath = folderCoverOf(path_);
        if (details.coverPath.empty())
            details.coverPath = cachedTagPicture(streamTags_.get(), coverCacheFolder());
        details_ = std::move(details);
    }
    return *details_;
}

// A raw MPEG audio file gets the length its frames add up to: without a Xing or VBRI
// table, the parser's figure for a variable bitrate file is an estimate from the frames
// read so far, and it changes while the song plays.
double MediaGraph::GetDuration() {
    if (!graph_)
        return -100.0;
    if (!framesCounted_) {
        frameCountSeconds_ = mpegAudioFileSeconds(path_);
        framesCounted_ = true;
    }
    if (frameCountSeconds_)
        return mediaUnitsToSeconds(secondsToMediaUnits(*frameCountSeconds_));
    gint64 ns = -1;
    if (queryDuration(GST_FORMAT_TIME, ns) && ns >= 0)
        return mediaUnitsToSeconds(nanosecondsToMediaUnits(ns));
    return fallbackDuration();
}

// Streams that know no duration of their own, such as a constant bitrate MP3 without a
// Xing header, get the file's byte length divided by the stream's bitrate.
double MediaGraph::fallbackDuration() {
    if (estimatedDuration_ >= 0)
        return estimatedDuration_;
    if (!streamTags_)
        return -1.0;
    guint bitrate = 0;
    if (!gst_tag_list_get_uint(streamTags_.get(), GST_TAG_BITRATE, &bitrate) || bitrate == 0)
        gst_tag_list_get_uint(streamTags_.get(), GST_TAG_NOMINAL_BITRATE, &bitrate);
    gint64 bytes = -1;
    if (bitrate == 0 || !queryDuration(GST_FORMAT_BYTES, bytes) || bytes <= 0)
        return -1.0;
    double seconds = static_cast<double>(bytes) * 8.0 / bitrate;
    estimatedDuration_ = mediaUnitsToSeconds(secondsToMediaUnits(seconds));
    return estimatedDuration_;
}

double MediaGraph::GetCurrentPosition() {
    if (!graph_)
        return -100.0;
    gint64 ns = -1;
    if (gst_element_query_position(seekTarget(), GST_FORMAT_TIME, &ns) && ns >= 0)
        return mediaUnitsToSeconds(nanosecondsToMediaUnits(ns));
    return -1.0;
}

int MediaGraph::seekTo(GstSeekType startType, std::int64_t startUnits, GstSeekType stopType,
                       std::int64_t stopUnits) {
    // Ends posted before the seek belong to the stream it flushes. A failure not reported
    // yet still ends this play: its notification is already on its way to the owner.
    while (GstMessagePtr message = bus_->pop()) {
        GstMessageType type = GST_MESSAGE_TYPE(message.get());
        if (type == GST_MESSAGE_ERROR && !songEnded_ && !pendingError_)
            pendingError_ = errorResult(message.get());
        else if (type != GST_MESSAGE_EOS && type != GST_MESSAGE_ERROR &&
                 takeOtherMessage(message.get()))
            pendingJoin_ = true;  // PollEvent reports the end it stands for
    }
    auto flags = static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE);
    bool done = gst_element_send_event(
        seekTarget(), gst_event_new_seek(1.0, GST_FORMAT_TIME, flags, startType,
                                         mediaUnitsToNanoseconds(startUnits), stopType,
                                         mediaUnitsToNanoseconds(stopUnits)));
    setResult(done ? result::kOk : result::kFail);
    if (!done)
        return -1;
    // The stream starts again, and its end with it.
    songEnded_ = false;
    // A flushing seek prerolls again; wait for it so positions read afterwards are right.
    gst_element_get_state(pipeline(), nullptr, nullptr, kSeekWaitNs);
    return 0;
}

// The position stays where it is; only the end moves. Not every parser takes a seek
// without a start, so the current position is given as the start.
int MediaGraph::SetStopTime(double seconds) {
    if (!graph_)
        return -100;
    stopUnits_ = secondsToMediaUnits(seconds);
    gint64 ns = -1;
    if (!gst_element_query_position(seekTarget(), GST_FORMAT_TIME, &ns) || ns < 0)
        ns = 0;
    return seekTo(GST_SEEK_TYPE_SET, nanosecondsToMediaUnits(ns), GST_SEEK_TYPE_SET, stopUnits_);
}

int MediaGraph::Seek(double seconds, bool absolute) {
    if (!graph_)
        return -100;
    std::int64_t units = secondsToMediaUnits(seconds);
    if (!absolute) {
        gint64 ns = -1;
        if (!gst_element_query_position(seekTarget(), GST_FORMAT_TIME, &ns) || ns < 0) {
            setResult(result::kNotImpl);
            return -1;
        }
        units += nanosecondsToMediaUnits(ns);
        if (units < 0)
            units = 0;
    }
    // At or past the demo stop time the song is over: an empty stretch at the stop time
    // ends it with an ordinary end of stream, as reaching that time would.
    if (stopUnits_ >= 0 && units >= stopUnits_)
        return seekTo(GST_SEEK_TYPE_SET, stopUnits_, GST_SEEK_TYPE_SET, stopUnits_);
    return seekTo(GST_SEEK_TYPE_SET, units, GST_SEEK_TYPE_NONE, 0);
}
