#pragma once
// The running player on the session bus: one object, /org/mpris/MediaPlayer2, with the
// media-player interfaces and vorn's own, under the well-known name
// org.mpris.MediaPlayer2.vorn. Owning that name is also what makes a process the one
// running player: a second start finds the name taken and hands its paths over
// (handToRunningPlayer) instead of opening windows and the ini file of its own.
//
// Calls arrive through Qt's event loop, on the user-interface thread, so none of them is
// served before start-up has finished; the change signals are sent from there too.
#include <QDBusConnection>
#include <QObject>

#include <string>
#include <vector>

#include "playback/core/media_remote.h"
#include "playback/core/now_playing.h"

class MprisPlayerAdaptor;

class RemoteService : public QObject, public MediaRemote::Listener {
    Q_OBJECT
  public:
    enum class Claim {
        Owned,  // the name is ours (or the instance name, when asked for)
        Taken,  // another process owns the name: nothing was registered
        NoBus,  // no session bus; the program runs without one, silently
    };
    static constexpr const char* kServiceName = "org.mpris.MediaPlayer2.vorn";
    static constexpr const char* kObjectPath = "/org/mpris/MediaPlayer2";

    explicit RemoteService(MediaRemote& remote);
    ~RemoteService() override;
    RemoteService(const RemoteService&) = delete;
    RemoteService& operator=(const RemoteService&) = delete;

    // Registers the object and asks for the name. `shared` false: the player runs beside
    // another one under org.mpris.MediaPlayer2.vorn.instance<pid>, as the media-player
    // interface foresees, and the name is never taken.
    Claim claim(bool shared);

    // MediaRemote::Listener: PropertiesChanged for what differs from what was sent last
    // (gathered until the event loop comes round), Seeked at once.
    void nowPlayingChanged() override;
    void seeked(double seconds) override;

  private:
    void publishChanges();

    MediaRemote& remote_;
    QDBusConnection bus_;
    MprisPlayerAdaptor* player_ = nullptr;  // child of this object
    NowPlaying published_;
    bool registered_ = false;
    bool changePending_ = false;
};

// Hands `paths` (absolute, as bytes; none: only raise) to the player owning the name.
// True when it took them.
bool handToRunningPlayer(const std::vector<std::string>& paths);
