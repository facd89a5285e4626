#pragma once
// The desktop's media controls and a second start of the program, turned into the
// commands of vorn's windows: each request is the command of the window that has the
// screen, as its menu or button gives it, so every rule of a play session holds whoever
// asks. The application object owns it and hands it to the D-Bus service or the local
// socket before any window exists; the windows are attached once both are made and
// detached before they go, and until then every request is dropped.
#include <functional>
#include <vector>

#include "playback/core/media_remote.h"

struct AppSettings;
class MainBar;
class PlayerWindow;
class QWidget;

class RemoteControl : public MediaRemote {
  public:
    // `mainWindow` names the window that has the screen: the main bar, or the player
    // window during a play session.
    RemoteControl(AppSettings& settings, std::function<QWidget*()> mainWindow);

    // The windows requests act on, both at once: from the end of start-up until Exit.
    void attach(MainBar& bar, PlayerWindow& player);
    void detach();

    // The play options or the volume changed (by the settings sheet or a request): the
    // session applies and announces them; without windows the listener is told at once.
    void settingsChanged();
    // What the player window announces, passed on to the listener.
    void tellNowPlayingChanged();
    void tellSeeked(double seconds);

    // MediaRemote. Requests that arrive while the player window waits for its search to
    // stop are dropped, as user input is then.
    NowPlaying nowPlaying() override;
    double positionSeconds() override;
    void play() override;
    void pause() override;
    void playPause() override;
    void stop() override;
    void next() override;
    void previous() override;
    void seekTo(double seconds) override;
    void openPaths(const std::vector<std::string>& paths) override;
    void setLoop(LoopMode loop) override;
    void setShuffle(bool shuffle) override;
    void setVolume(double volume) override;
    void raise() override;
    void quit() override;

  private:
    // True while a request from outside may act on the windows.
    bool mayAct() const;
    bool sessionRuns() const;
    void playerCommand(int id);

    AppSettings& settings_;
    std::function<QWidget*()> mainWindow_;
    MainBar* bar_ = nullptr;
    PlayerWindow* player_ = nullptr;
};
