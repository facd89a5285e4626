#pragma once
// The song that is to follow the playing one without a gap. Its part (SongPipeline built
// as a part) is opened on a thread of its own, outside the session's pipeline, with a bus
// of its own: it is ready once its first decoded sound is held at the part's output and
// the part has settled in PAUSED, so joining it never takes the playing pipeline back to
// PAUSED. It fails when the file is no regular file, an element posts an error (no sound
// in the file, a missing decoder), or it is not ready by the deadline. The owner hears of
// the outcome through `ended`, joins a ready part behind the playing song and lets its
// sound go on: it then waits inside concat for its turn.
#include <gst/gst.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "app/gst/gst_ptr.h"

class SongPipeline;

class PreparedSong {
  public:
    using Clock = std::chrono::steady_clock;
    enum class Outcome { Pending, Ready, Failed };

    // Starts opening `part` (built, in no pipeline), which holds `renderer` (may be null)
    // until it is released. `ended` is called once, on the job's thread, when the outcome
    // is known, unless the song was dropped first. nullptr when no thread can start.
    static std::unique_ptr<PreparedSong> start(const std::string& path,
                                               std::unique_ptr<SongPipeline> part,
                                               GstElementPtr renderer, Clock::time_point deadline,
                                               std::function<void()> ended);
    // A part that was not taken is dropped: released on a thread of its own once the job's
    // call has returned, as a stuck read would hold up whoever takes it to NULL.
    ~PreparedSong();
    PreparedSong(const PreparedSong&) = delete;
    PreparedSong& operator=(const PreparedSong&) = delete;

    Outcome outcome() const;
    const std::string& path() const;
    // The part and its renderer, while not taken (null once taken).
    SongPipeline* part() const;
    // The tags that came before the song's first sound, or null.
    GstTagListPtr tags() const;
    // The sound ends at `stopNs` of the song's own time, as a stop position would end it:
    // the buffer across it is cut there and an end of stream follows. Before release().
    void cutAt(GstClockTime stopNs);
    // Lets the held sound go on into whatever the part's output is linked to.
    void releaseSound();
    // Hands the part and its renderer to the owner (Ready only).
    std::unique_ptr<SongPipeline> takePart(GstElementPtr& renderer);

  private:
    struct Job;
    explicit PreparedSong(std::shared_ptr<Job> job);
    std::shared_ptr<Job> job_;
};
