#pragma once
// A playing graph over a SongCatalogue: Open takes a song's length, tags and whether it
// opens from there, Run, Pause and Stop move between the states the real graph has, and
// time moves only when the test moves it: play(ms) on the test's clock, or finish().
// Everything it does is recorded for the test to check.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "playback/core/player.h"
#include "support/song_catalogue.h"

namespace testsupport {

class FakePlayer : public Player {
  public:
    // `nowMs`, when given, is the test's clock; each start records the time on it.
    explicit FakePlayer(const SongCatalogue& catalogue, const std::int64_t* nowMs = nullptr)
        : catalogue_(catalogue), nowMs_(nowMs) {}

    enum State { None, Stopped, Paused, Running };
    struct Start {
        std::string path;
        std::int64_t atMs;
    };

    int Open(const std::string& file, bool withNullRenderer) override;
    int GetContentText(int kind, std::string& text) override;
    void setReportPath(const std::string& file) override { reportPath = file; }
    void setEffects(EffectCatalogue* e) override { effects = e; }
    std::string GetErrorText(std::size_t) override { return "no such file"; }
    double GetDuration() override { return song_ ? song_->duration : 0; }
    double GetCurrentPosition() override { return position; }
    void SetNotifyWindow(GraphNotifyFn notify) override { notify_ = std::move(notify); }
    int SetStopTime(double seconds) override;
    int Run(const char* caption) override;
    int Pause() override;
    int Stop() override;
    bool CanRun() const override { return state == Stopped || state == Paused; }
    bool CanPause() const override { return state == Running || state == Stopped; }
    bool CanStop() const override { return state == Running || state == Paused; }
    int Seek(double seconds, bool absolute) override;
    int PollEvent() override;
    SongDetails GetSongDetails() override;
    void setVolume(double v) override { volume = v; }
    // With `joins`, a prepared song follows the running one at its end as the real graph
    // joins it: no Open, no Run; one whose file does not open never follows.
    bool prepareNext(const std::string& file, int demoSeconds) override;
    void dropNext() override;
    bool nextJoined() const override { return joined_; }

    // Milliseconds until the running song reaches its end (or stop time), or -1.
    std::int64_t msToEnd() const;
    // Moves the running song on by `ms` of playing time; at its end it finishes.
    void play(std::int64_t ms);
    // The open song reaches its end now: the graph posts its event.
    void finish();

    State state = None;
    std::string path;
    std::string reportPath;
    EffectCatalogue* effects = nullptr;
    double stopTime = 0;              // 0 = none
    double position = 0;              // seconds; a test may move it
    std::vector<Start> starts;        // every Run from the start of a song
    std::vector<std::string> opened;  // every song opened, in order
    std::vector<double> seeks;        // every Seek's target
    std::vector<std::string> log;     // "open:p", "run", "pause", "stop", "seek:s", "stoptime:s"
    double volume = 1.0;              // the last volume set
    bool joins = false;               // prepareNext takes songs
    std::string prepared;             // the song prepared to follow, if any

  private:
    const SongCatalogue& catalogue_;
    const std::int64_t* nowMs_;
    std::optional<SongSpec> song_;
    bool ended_ = false;
    bool joined_ = false;
    int preparedDemo_ = 0;
    int pendingEvent_ = 0;
    GraphNotifyFn notify_;
};

}  // namespace testsupport
