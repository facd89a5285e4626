#pragma once
// What the player window needs of the application around it: the settings, the tray, the
// hand-over of the screen to the main bar, the Exit of the main bar and the settings sheet,
// and an ear for what the window plays (the desktop's media controls follow it).
// The application object implements it; tests use a recording fake.
#include <string>

#include "playback/core/media_remote.h"

struct AppSettings;
class QWidget;

class PlayerHost : public MediaRemote::Listener {
  public:
    virtual ~PlayerHost() = default;

    // The settings of the run (with settings().play.effectCatalogue set when effects
    // exist). The reference must stay valid as long as the window lives: the session
    // reads the options at the moment each rule needs them.
    virtual AppSettings& settings() = 0;
    // True when the desktop offers a notification area for the tray icon. The window
    // uses the tray only when this holds and isnoTaskTray is not set.
    virtual bool trayAvailable() const = 0;
    // Replaces the tray icon's tip (the host cuts it to 63 bytes) and raises the main bar
    // in the window order without moving, sizing or activating it.
    virtual void setTrayTip(const std::string& text) = 0;
    // End of a session: the main bar takes `playerWindow`'s position, becomes the main
    // window and the menu source and is shown on top. The player window hides itself
    // right after this call.
    virtual void handBackToMainBar(QWidget& playerWindow) = 0;
    // Posts the Exit command to the main bar (a queued call), which ends the application.
    virtual void postExitToMainBar() = 0;
    // Runs the settings sheet at `startPage` (0 other settings, 1 play options).
    virtual void openSettings(int startPage) = 0;
    // The session's announcements (MediaRemote::Listener): what is playing now may have
    // changed (called on the user-interface thread, often; the host compares), and the
    // position jumped to `seconds` into the song (a seek, a restart, a repeat).
    void nowPlayingChanged() override {}
    void seeked(double /*seconds*/) override {}
};
