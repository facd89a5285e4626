#pragma once
// What the play sequencer uses of the media graph that plays the songs. MediaGraph
// implements it over GStreamer; sequencer tests use a fake.
#include <cstddef>
#include <functional>
#include <string>

#include "playback/core/song_details.h"
#include "songlist/core/song_probe.h"

class EffectCatalogue;

// Called once per bus message of interest, from whatever thread GStreamer uses. It must
// only post to the owner's thread (the owner then calls PollEvent there).
using GraphNotifyFn = std::function<void()>;

// What PollEvent gives: the end of the song (complete, aborted by the user or by an
// error), another message, or no graph.
enum GraphEvent : int { NoGraph = -1, OtherEvent = 0, Complete = 1, UserAbort = 2, ErrorAbort = 3 };

// True for the three events that end a song.
inline bool endsTheSong(int event) {
    return event >= Complete && event <= ErrorAbort;
}

class Player : public SongProbe {
  public:
    // Report file for the next Open only; empty for none.
    virtual void setReportPath(const std::string& path) = 0;
    // Effect chain for the next Opens; nullptr when effects are off.
    virtual void setEffects(EffectCatalogue* effects) = 0;
    // Called repeatedly while Open waits for a file that is slow to open, so the owner's
    // thread keeps serving what must not wait; answering false gives up on the file.
    virtual void setOpenWait(std::function<bool()> pump) { (void)pump; }

    // Text of the last error, at most size - 2 bytes.
    virtual std::string GetErrorText(std::size_t size) = 0;
    virtual double GetDuration() = 0;
    virtual double GetCurrentPosition() = 0;
    // An empty function removes the notification.
    virtual void SetNotifyWindow(GraphNotifyFn notify) = 0;
    virtual int SetStopTime(double seconds) = 0;
    // caption: the video window's caption, or nullptr for none.
    virtual int Run(const char* caption) = 0;
    virtual int Pause() = 0;
    virtual int Stop() = 0;
    virtual bool CanRun() const = 0;
    virtual bool CanPause() const = 0;
    virtual bool CanStop() const = 0;
    virtual int Seek(double seconds, bool absolute) = 0;
    // A GraphEvent.
    virtual int PollEvent() = 0;

    // What the open song offers beyond its texts (see song_details.h); empty without a song.
    virtual SongDetails GetSongDetails() { return {}; }
    // The program's volume, 0..1 on the cubic scale a desktop mixer shows as a percentage
    // (GstStreamVolume's CUBIC format): for the open song at once and for every later song
    // from its first buffer.
    virtual void setVolume(double /*volume*/) {}

    // Gapless play. Opens `path` beside the running song to follow it without a gap: its
    // first sample follows the running song's last one, and the output stays open. A demo
    // time `demoSeconds` (0: none) cuts it as SetStopTime would after an Open. The report
    // path and the effects are those set for the next Open. False when the graph can't
    // (nothing runs, a song is prepared already, the effect choice changed since the
    // running song opened): the song then opens as any other when its turn comes, and so
    // it does when its file fails to open now.
    virtual bool prepareNext(const std::string& /*path*/, int /*demoSeconds*/) { return false; }
    // Drops the prepared song; the running one then ends as it would have without it.
    virtual void dropNext() {}
    // True when the last end PollEvent reported was one the prepared song followed (until
    // the next Open): the graph then holds that song, running, with its demo stop set.
    virtual bool nextJoined() const { return false; }
};
