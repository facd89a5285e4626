#include "playback/gst/prepared_song.h"

#include <gst/audio/audio.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include "playback/gst/preroll_job.h"
#include "playback/gst/song_pipeline.h"

namespace {

// The cut a demo stop makes in a part's sound; owned by the probe that applies it.
struct Cut {
    std::atomic<GstClockTime> stop{GST_CLOCK_TIME_NONE};
};

// Cuts the raw sound at the part's output: the buffer across the stop keeps what comes
// before it, and the first buffer at or past it ends the stream there instead.
GstPadProbeReturn cutSound(GstPad* pad, GstPadProbeInfo* info, gpointer data) {
    const GstClockTime stop = static_cast<Cut*>(data)->stop.load();
    GstBuffer* buffer = GST_PAD_PROBE_INFO_BUFFER(info);
    if (stop == GST_CLOCK_TIME_NONE || !buffer || !GST_BUFFER_PTS_IS_VALID(buffer))
        return GST_PAD_PROBE_OK;
    GstEventPtr segmentEvent(gst_pad_get_sticky_event(pad, GST_EVENT_SEGMENT, 0));
    GstCapsPtr caps(gst_pad_get_current_caps(pad));
    GstAudioInfo format;
    const GstSegment* segment = nullptr;
    if (!segmentEvent || !caps || !gst_audio_info_from_caps(&format, caps.get()))
        return GST_PAD_PROBE_OK;
    gst_event_parse_segment(segmentEvent.get(), &segment);
    if (segment->format != GST_FORMAT_TIME)
        return GST_PAD_PROBE_OK;
    const guint64 at = gst_segment_to_stream_time(segment, GST_FORMAT_TIME, GST_BUFFER_PTS(buffer));
    if (at != GST_CLOCK_TIME_NONE && at >= stop) {
        gst_pad_push_event(pad, gst_event_new_eos());
        GST_PAD_PROBE_INFO_FLOW_RETURN(info) = GST_FLOW_EOS;
        return GST_PAD_PROBE_DROP;
    }
    GstSegment clip = *segment;
    const guint64 stopPosition =
        gst_segment_position_from_stream_time(segment, GST_FORMAT_TIME, stop);
    if (stopPosition == GST_CLOCK_TIME_NONE)
        return GST_PAD_PROBE_OK;
    clip.stop = GST_CLOCK_TIME_IS_VALID(clip.stop) ? std::min<guint64>(clip.stop, stopPosition)
                                                   : stopPosition;
    GstBuffer* kept = gst_audio_buffer_clip(buffer, &clip, GST_AUDIO_INFO_RATE(&format),
                                            GST_AUDIO_INFO_BPF(&format));
    GST_PAD_PROBE_INFO_DATA(info) = kept;
    return kept ? GST_PAD_PROBE_OK : GST_PAD_PROBE_DROP;
}

}  // namespace

struct PreparedSong::Job {
    std::string path;
    Clock::time_point deadline;
    std::function<void()> ended;
    std::unique_ptr<SongPipeline> part;
    GstElementPtr renderer;
    GstBusPtr bus;       // the part's own until it joins a pipeline
    Cut* cut = nullptr;  // owned by the cut probe
    gulong holdProbe = 0;

    mutable std::mutex mutex;
    std::condition_variable changed;
    bool soundHeld = false;  // the first buffer waits at the output
    bool errorPosted = false;
    bool done = false;     // the job's calls have returned
    bool dropped = false;  // the owner let go before that
    Outcome outcome = Outcome::Pending;

    static GstPadProbeReturn onFirstSound(GstPad*, GstPadProbeInfo*, gpointer data) {
        auto* job = static_cast<Job*>(data);
        {
            std::lock_guard lock(job->mutex);
            job->soundHeld = true;
        }
        job->changed.notify_all();
        return GST_PAD_PROBE_OK;  // held until the probe goes
    }
    static GstBusSyncReply onMessage(GstBus*, GstMessage* message, gpointer data) {
        auto* job = static_cast<Job*>(data);
        if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR) {
            {
                std::lock_guard lock(job->mutex);
                job->errorPosted = true;
            }
            job->changed.notify_all();
        }
        gst_message_unref(message);
        return GST_BUS_DROP;
    }

    Outcome run() {
        if (PrerollJob::isSpecialFile(path))
            return Outcome::Failed;
        GstElement* bin = part->pipeline();
        if (gst_element_set_state(bin, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE)
            return Outcome::Failed;
        std::unique_lock lock(mutex);
        changed.wait_until(lock, deadline, [this] { return soundHeld || errorPosted; });
        if (!soundHeld || errorPosted)
            return Outcome::Failed;
        lock.unlock();
        const auto left =
            std::chrono::duration_cast<std::chrono::nanoseconds>(deadline - Clock::now());
        const GstClockTime wait = left.count() > 0 ? static_cast<GstClockTime>(left.count()) : 0;
        const GstStateChangeReturn settled = gst_element_get_state(bin, nullptr, nullptr, wait);
        lock.lock();
        const bool fine =
            (settled == GST_STATE_CHANGE_SUCCESS || settled == GST_STATE_CHANGE_NO_PREROLL) &&
            !errorPosted;
        return fine ? Outcome::Ready : Outcome::Failed;
    }

    // To NULL, the renderer out, then the last references; never on the owner's thread.
    void release() {
        if (part) {
            part->detachShared();
            if (holdProbe && part->output())
                gst_pad_remove_probe(part->output(), holdProbe);
        }
        if (bus)
            gst_bus_set_sync_handler(bus.get(), nullptr, nullptr, nullptr);
        part.reset();
        renderer.reset();
        bus.reset();
    }
};

PreparedSong::PreparedSong(std::shared_ptr<Job> job) : job_(std::move(job)) {}

std::unique_ptr<PreparedSong> PreparedSong::start(const std::string& path,
                                                  std::unique_ptr<SongPipeline> part,
                                                  GstElementPtr renderer,
                                                  Clock::time_point deadline,
                                                  std::function<void()> ended) {
    if (!part || !part->pipeline() || !part->output())
        return nullptr;
    auto job = std::make_shared<Job>();
    job->path = path;
    job->deadline = deadline;
    job->ended = std::move(ended);
    job->bus.reset(gst_bus_new());
    gst_bus_set_sync_handler(job->bus.get(), &Job::onMessage, job.get(), nullptr);
    gst_element_set_bus(part->pipeline(), job->bus.get());
    job->cut = new Cut;
    gst_pad_add_probe(part->output(), GST_PAD_PROBE_TYPE_BUFFER, cutSound, job->cut,
                      [](gpointer data) { delete static_cast<Cut*>(data); });
    job->holdProbe = gst_pad_add_probe(
        part->output(),
        static_cast<GstPadProbeType>(GST_PAD_PROBE_TYPE_BLOCK | GST_PAD_PROBE_TYPE_BUFFER),
        &Job::onFirstSound, job.get(), nullptr);
    job->part = std::move(part);
    job->renderer = std::move(renderer);
    try {
        std::thread([job] {
            const Outcome outcome = job->run();
            bool dropped = false;
            {
                std::lock_guard lock(job->mutex);
                job->done = true;
                job->outcome = outcome;
                dropped = job->dropped;
            }
            if (dropped)
                job->release();
            else if (job->ended)
                job->ended();
        }).detach();
    } catch (const std::system_error&) {
        job->release();
        return nullptr;
    }
    return std::unique_ptr<PreparedSong>(new PreparedSong(std::move(job)));
}

PreparedSong::~PreparedSong() {
    {
        std::lock_guard lock(job_->mutex);
        if (!job_->done) {
            job_->dropped = true;  // the job releases it once its call returns
            return;
        }
    }
    if (!job_->part)
        return;
    auto job = job_;
    try {
        std::thread([job] { job->release(); }).detach();
    } catch (const std::system_error&) {
        job->release();
    }
}

PreparedSong::Outcome PreparedSong::outcome() const {
    std::lock_guard lock(job_->mutex);
    return job_->outcome;
}

const std::string& PreparedSong::path() const {
    return job_->path;
}

SongPipeline* PreparedSong::part() const {
    std::lock_guard lock(job_->mutex);
    return job_->done ? job_->part.get() : nullptr;
}

GstTagListPtr PreparedSong::tags() const {
    SongPipeline* song = part();
    if (!song)
        return {};
    GstTagListPtr merged;
    for (guint i = 0;; ++i) {
        GstEventPtr event(gst_pad_get_sticky_event(song->output(), GST_EVENT_TAG, i));
        if (!event)
            break;
        GstTagList* tags = nullptr;
        gst_event_parse_tag(event.get(), &tags);
        if (!merged)
            merged.reset(gst_tag_list_copy(tags));
        else
            gst_tag_list_insert(merged.get(), tags, GST_TAG_MERGE_KEEP);
    }
    return merged;
}

void PreparedSong::cutAt(GstClockTime stopNs) {
    job_->cut->stop.store(stopNs);
}

void PreparedSong::releaseSound() {
    if (SongPipeline* song = part(); song && job_->holdProbe) {
        gst_pad_remove_probe(song->output(), job_->holdProbe);
        job_->holdProbe = 0;
    }
}

std::unique_ptr<SongPipeline> PreparedSong::takePart(GstElementPtr& renderer) {
    std::lock_guard lock(job_->mutex);
    if (!job_->done || job_->outcome != Outcome::Ready)
        return {};
    gst_bus_set_sync_handler(job_->bus.get(), nullptr, nullptr, nullptr);
    renderer = std::move(job_->renderer);
    return std::move(job_->part);
}
