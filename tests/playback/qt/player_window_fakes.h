#pragma once
// Stand-ins for the player window's collaborators when the window itself is the subject:
// a recording host, a graph that plays on command and a probe that accepts what it is
// told to, optionally holding a file in Open until released.
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/core/app_settings.h"
#include "playback/core/player.h"
#include "playback/qt/player_host.h"
#include "songlist/core/song_probe.h"

namespace pwtest {

class RecordingHost : public PlayerHost {
  public:
    AppSettings& settings() override { return settings_; }
    bool trayAvailable() const override { return tray; }
    void setTrayTip(const std::string& text) override { trayTips.push_back(text); }
    void handBackToMainBar(QWidget&) override { ++handBacks; }
    void postExitToMainBar() override { ++exitsPosted; }
    void openSettings(int startPage) override { settingsPages.push_back(startPage); }

    AppSettings settings_;
    bool tray = false;
    std::vector<std::string> trayTips;
    int handBacks = 0;
    int exitsPosted = 0;
    std::vector<int> settingsPages;
};

struct SongInfo {
    SongInfo(double length = 240, std::string by = {}, std::string name = {})
        : duration(length), author(std::move(by)), title(std::move(name)) {}
    double duration;
    std::string author, title;
};

// Songs known to the fakes: duration and tags by path. Thread-safe; gated paths hold
// the probe in Open until released.
class SongBook {
  public:
    using Song = SongInfo;
    void add(const std::string& path, Song song = {});
    bool find(const std::string& path, Song& song) const;
    void gate(const std::string& path);
    void releaseAll();
    // Waits until a probe has reached the gate of `path`.
    void waitAtGate(const std::string& path);
    SongProbeFactory probeFactory();

  private:
    friend class BookProbe;
    void passGate(const std::string& path);

    mutable std::mutex lock_;
    std::condition_variable changed_;
    std::map<std::string, Song> songs_;
    std::set<std::string> gated_;
    std::set<std::string> arrived_;
};

class ScriptedPlayer : public Player {
  public:
    explicit ScriptedPlayer(const SongBook& book) : book_(book) {}

    int Open(const std::string& path, bool) override;
    int GetContentText(int kind, std::string& text) override;
    void setReportPath(const std::string&) override {}
    void setEffects(EffectCatalogue*) override {}
    std::string GetErrorText(std::size_t) override { return "cannot open"; }
    double GetDuration() override { return song_.duration; }
    double GetCurrentPosition() override { return position; }
    void SetNotifyWindow(GraphNotifyFn notify) override { notify_ = std::move(notify); }
    int SetStopTime(double) override { return 0; }
    int Run(const char*) override;
    int Pause() override;
    int Stop() override;
    bool CanRun() const override { return opened_ && !running_; }
    bool CanPause() const override { return running_; }
    bool CanStop() const override { return running_; }
    int Seek(double seconds, bool) override;
    int PollEvent() override;
    // The song reaches its end: the graph posts its event.
    void finish();

    double position = 0;
    std::vector<std::string> opened;
    std::vector<double> seeks;

  private:
    const SongBook& book_;
    SongBook::Song song_;
    bool opened_ = false;
    bool running_ = false;
    int pendingEvent_ = 0;
    GraphNotifyFn notify_;
};

}  // namespace pwtest
