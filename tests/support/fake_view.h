#pragma once
// The player window as the sequencer sees it, for tests: a view that records what it is
// told, and timers on the test's clock (simulated, or the real one read into a number),
// which the test fires when they fall due.
#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "playback/core/player_view.h"
#include "playback/core/sequencer_timers.h"

namespace testsupport {

class FakeTimers : public SequencerTimers {
  public:
    explicit FakeTimers(const std::int64_t& nowMs) : nowMs_(nowMs) {}
    void startTimer(TimerId id, int periodMs) override;
    void killTimer(TimerId id) override { due_.erase(id); }
    bool runs(TimerId id) const { return due_.count(id) != 0; }
    int period(TimerId id) const { return runs(id) ? due_.at(id).period : 0; }
    // The timer due first (earliest, then lowest id), or false when none runs.
    bool next(TimerId& id, std::int64_t& at) const;
    // Moves a timer that fell due on to its next period.
    void fired(TimerId id);

  private:
    struct Due {
        int period;
        std::int64_t at;
    };
    const std::int64_t& nowMs_;
    std::map<TimerId, Due> due_;
};

class FakeView : public PlayerView {
  public:
    void setStatusText(const std::string& t) override { status = t; }
    void setSliderText(const std::string& t) override { sliderText = t; }
    void resetSlider() override { ++sliderResets; }
    void refreshItemCount(int count) override { itemCount = count; }
    void showMessage(const std::string& t) override { messages.push_back(t); }
    void setTrayTip(const std::string& t) override { trayTips.push_back(t); }
    void iconify() override { ++iconified; }
    void redrawSlider() override { ++sliderRedraws; }
    void showSongList(int index) override { songListShownAt = index; }
    void soundExclamation() override { ++beeps; }
    void postPlayIndex(int index) override;
    void handBackToMainBar() override { ++handBacks; }
    void postExitToMainBar() override { ++exitsPosted; }

    // Takes the next posted PlayIndex (the test delivers it): false when none.
    bool takePosted(int& index);

    std::string status, sliderText;
    int sliderResets = 0, itemCount = -1, iconified = 0, sliderRedraws = 0;
    int songListShownAt = -99, beeps = 0, handBacks = 0, exitsPosted = 0;
    std::vector<std::string> messages, trayTips;

  private:
    std::deque<int> posted_;
};

}  // namespace testsupport
