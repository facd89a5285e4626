#include "playback/gst/preroll_job.h"

#include <sys/stat.h>

#include <atomic>
#include <system_error>
#include <thread>
#include <utility>

#include "playback/gst/output_line.h"
#include "playback/gst/song_bus.h"
#include "playback/gst/song_pipeline.h"

namespace {
// How often a waiting caller's pump runs.
constexpr std::chrono::milliseconds kPumpPeriod{20};
// A refused state change has usually posted its error already.
constexpr std::chrono::milliseconds kRefusedErrorWait{500};

std::atomic<int> leftBehindCount{0};
}  // namespace

bool PrerollJob::isSpecialFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode);
}

PrerollJob::PrerollJob(std::string path, GstElement* pipeline, SongBus& bus,
                       Clock::time_point deadline)
    : path_(std::move(path)), pipeline_(pipeline), bus_(bus), deadline_(deadline) {}

std::shared_ptr<PrerollJob> PrerollJob::start(const std::string& path, GstElement* pipeline,
                                              SongBus& bus, Clock::time_point deadline) {
    std::shared_ptr<PrerollJob> job(new PrerollJob(path, pipeline, bus, deadline));
    try {
        std::thread([job] {
            Result result = job->run();
            Leftovers leftovers;
            bool abandoned = false;
            {
                std::lock_guard lock(job->mutex_);
                job->done_ = true;
                abandoned = job->abandoned_;
                if (abandoned)
                    leftovers = std::move(job->leftovers_);
                else
                    job->result_ = std::move(result);
            }
            job->ended_.notify_all();
            if (abandoned) {
                result = {};  // an error message holds its source, and so the pipeline
                release(std::move(leftovers));
            }
        }).detach();
    } catch (const std::system_error&) {
        return nullptr;
    }
    return job;
}

PrerollJob::Result PrerollJob::run() {
    Result result;
    if (isSpecialFile(path_)) {
        result.outcome = Outcome::NotAFile;
        return result;
    }
    const GstStateChangeReturn change = gst_element_set_state(pipeline_, GST_STATE_PAUSED);
    if (change == GST_STATE_CHANGE_SUCCESS || change == GST_STATE_CHANGE_NO_PREROLL) {
        result.outcome = Outcome::Prerolled;
        return result;
    }
    using std::chrono::duration_cast;
    using std::chrono::milliseconds;
    const milliseconds wait = change == GST_STATE_CHANGE_FAILURE
                                  ? kRefusedErrorWait
                                  : duration_cast<milliseconds>(deadline_ - Clock::now());
    const auto ending = static_cast<GstMessageType>(GST_MESSAGE_ERROR | GST_MESSAGE_ASYNC_DONE);
    GstMessagePtr message = bus_.waitFor(ending, wait);
    if (message && GST_MESSAGE_TYPE(message.get()) == GST_MESSAGE_ERROR) {
        result.outcome = Outcome::Failed;
        result.error = std::move(message);
    } else if (change == GST_STATE_CHANGE_FAILURE) {
        result.outcome = Outcome::Refused;
    } else {
        result.outcome = message ? Outcome::Prerolled : Outcome::TimedOut;
    }
    return result;
}

bool PrerollJob::wait(Clock::time_point until, const std::function<bool()>& pump) {
    std::unique_lock lock(mutex_);
    while (!done_ && Clock::now() < until) {
        if (!pump) {
            ended_.wait_until(lock, until, [this] { return done_; });
            continue;
        }
        if (ended_.wait_for(lock, kPumpPeriod, [this] { return done_; }))
            break;
        lock.unlock();
        const bool goOn = pump();
        lock.lock();
        if (!goOn)
            break;
    }
    return done_;
}

PrerollJob::Result PrerollJob::takeResult() {
    std::lock_guard lock(mutex_);
    return std::move(result_);
}

void PrerollJob::abandon(const std::shared_ptr<PrerollJob>& job, Leftovers leftovers) {
    leftBehindCount.fetch_add(1);
    {
        std::lock_guard lock(job->mutex_);
        if (!job->done_) {
            job->abandoned_ = true;
            job->leftovers_ = std::move(leftovers);
            return;
        }
        job->result_ = {};
    }
    // The call has returned, but a streaming thread may still be stuck in a read, and
    // taking the pipeline to NULL waits for it.
    auto owned = std::make_shared<Leftovers>(std::move(leftovers));
    try {
        std::thread([owned] { release(std::move(*owned)); }).detach();
    } catch (const std::system_error&) {
        release(std::move(*owned));
    }
}

// The same order as a graph's own release: to NULL with the shared elements taken back,
// then the messages left on the bus, then the pipeline's last reference.
void PrerollJob::release(Leftovers leftovers) {
    if (leftovers.bus)
        leftovers.bus->setNotify({});
    if (leftovers.output)
        leftovers.output->detachShared();
    if (leftovers.pipeline)
        leftovers.pipeline->detachShared();
    leftovers.bus.reset();
    leftovers.output.reset();
    leftovers.pipeline.reset();
    leftovers.renderer.reset();
    leftBehindCount.fetch_sub(1);
}

int PrerollJob::leftBehind() {
    return leftBehindCount.load();
}
