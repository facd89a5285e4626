#pragma once
// The application's side of the two top-level windows: what the main bar and the player
// window ask of the program around them (settings, ini store, tray, the hand-over of the
// screen between them, the settings sheet and the end of the program), carried out on
// the one PlayerApp.
#include "app/qt/main_bar_host.h"
#include "playback/qt/player_host.h"

class MainBar;
class PlayerApp;
class PlayerWindow;

class AppHost : public MainBarHost, public PlayerHost {
  public:
    explicit AppHost(PlayerApp& app) : app_(app) {}

    // The windows join once they exist.
    void setWindows(MainBar* bar, PlayerWindow* player) {
        bar_ = bar;
        player_ = player;
    }

    // Shared by both windows.
    AppSettings& settings() override;
    bool trayAvailable() const override;
    void openSettings(int startPage) override;

    // MainBarHost
    ProfileStore& profileStore() override;
    QWidget* mainWindow() const override;
    void handOverToPlayer(QWidget& bar, const std::string& selection, ListType mode) override;
    void endProgram() override;

    // PlayerHost
    void setTrayTip(const std::string& text) override;
    void handBackToMainBar(QWidget& playerWindow) override;
    void postExitToMainBar() override;

  private:
    PlayerApp& app_;
    MainBar* bar_ = nullptr;
    PlayerWindow* player_ = nullptr;
};
