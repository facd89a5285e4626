#pragma once
// The part of opening a song that touches the file: the check that it is a regular file
// and the pipeline's way to PAUSED, in which the source opens and reads it. Either can
// block for good inside a system call (a FIFO swapped in after the check, a network mount
// that stopped answering), so it runs on a thread of its own and the caller waits for it
// with a bound. A caller that gives up hands the pipeline over; the job's thread releases
// it once its call has returned, so nothing of it is leaked.
#include <gst/gst.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "app/gst/gst_ptr.h"

class OutputLine;
class SongBus;
class SongPipeline;

class PrerollJob {
  public:
    using Clock = std::chrono::steady_clock;
    enum class Outcome {
        Pending,
        NotAFile,   // a FIFO, socket or device, or a link to one: never opened
        Prerolled,  // PAUSED reached
        Failed,     // an error message ended the preroll (see Result::error)
        Refused,    // the state change failed without an error message
        TimedOut,   // no preroll by the deadline
    };
    struct Result {
        Outcome outcome = Outcome::Pending;
        GstMessagePtr error;
    };
    // What a caller that gave up leaves to the job: the song's pipeline (a probe's, or a
    // session's output with the song's part), its bus and the discard renderer lent to it
    // (a reference of its own, kept until the pipeline is gone). Declared in the order
    // that makes destroying them safe: the pipeline goes first.
    struct Leftovers {
        GstElementPtr renderer;
        std::unique_ptr<SongBus> bus;
        std::unique_ptr<SongPipeline> pipeline;
        std::unique_ptr<OutputLine> output;
    };

    // Starts the job for `path` on `pipeline` and its `bus` (borrowed until the job has
    // ended or been abandoned), waiting for the preroll until `deadline`. nullptr when no
    // thread can be started.
    static std::shared_ptr<PrerollJob> start(const std::string& path, GstElement* pipeline,
                                             SongBus& bus, Clock::time_point deadline);

    // Waits until the job has ended, at most until `until`. `pump` (may be empty) is
    // called every few milliseconds meanwhile; when it answers false the wait ends at once.
    // True when the job has ended; its result can then be taken.
    bool wait(Clock::time_point until, const std::function<bool()>& pump);
    Result takeResult();
    // The caller gives up on the job, ended or not: `leftovers` are released once the
    // job's call has returned, never on the caller's thread (a stuck streaming thread
    // would hold it up too).
    static void abandon(const std::shared_ptr<PrerollJob>& job, Leftovers leftovers);

    // A FIFO, socket or device (or a link to one) is no song, and opening a FIFO blocks
    // until a writer comes. A path that can't be looked up is left to the source, which
    // reports it as it reports any file it can't open.
    static bool isSpecialFile(const std::string& path);

    // Pipelines given up on and not released yet.
    static int leftBehind();

  private:
    PrerollJob(std::string path, GstElement* pipeline, SongBus& bus, Clock::time_point deadline);
    Result run();
    static void release(Leftovers leftovers);

    const std::string path_;
    GstElement* pipeline_;
    SongBus& bus_;
    const Clock::time_point deadline_;
    std::mutex mutex_;
    std::condition_variable ended_;
    bool done_ = false;  // under mutex_
    bool abandoned_ = false;
    Result result_;
    Leftovers leftovers_;
};
