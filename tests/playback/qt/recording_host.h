#pragma once
// The player window's host when the window itself is the subject: it hands out settings
// a test can change and records what the window asks of it.
#include <string>
#include <vector>

#include "app/core/app_settings.h"
#include "playback/qt/player_host.h"

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

}  // namespace pwtest
