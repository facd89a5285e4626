#pragma once
// What the desktop's media controls (and a second start of the program) may ask of the
// running player, in the player's own terms. RemoteControl implements it by carrying out
// the same commands the windows' menus and buttons give, so every rule of a play session
// holds whoever asks. Everything runs on the user-interface thread.
#include <string>
#include <vector>

#include "playback/core/now_playing.h"

class MediaRemote {
  public:
    // Told when what is playing may have changed, or the position jumped.
    class Listener {
      public:
        virtual ~Listener() = default;
        virtual void nowPlayingChanged() = 0;
        virtual void seeked(double seconds) = 0;
    };

    virtual ~MediaRemote() = default;

    virtual NowPlaying nowPlaying() = 0;
    // Seconds into the current song; 0 without one.
    virtual double positionSeconds() = 0;

    // Play starts a session of the main bar's selection when none runs and resumes a
    // paused one; Pause pauses a playing one; playPause is either.
    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void playPause() = 0;
    // Ends the session; the main bar comes back.
    virtual void stop() = 0;
    virtual void next() = 0;
    virtual void previous() = 0;
    // To `seconds` into the current song, kept within it.
    virtual void seekTo(double seconds) = 0;
    // Plays the paths (bytes; file:// addresses allowed) as the command line would: a new
    // Play of that selection. Relative paths and paths holding a NUL byte are refused
    // (checkHandedPaths), each with a line on standard error, and so is a request larger
    // than a command line carries.
    virtual void openPaths(const std::vector<std::string>& paths) = 0;
    // The play options as the settings sheet sets them (kept at Exit): repeat and
    // endless play, random order; and the program's volume, 0..1 on the cubic scale.
    virtual void setLoop(LoopMode loop) = 0;
    virtual void setShuffle(bool shuffle) = 0;
    virtual void setVolume(double volume) = 0;
    // Shows and raises the window that has the screen.
    virtual void raise() = 0;
    // The main bar's Exit: saves the settings and ends the program.
    virtual void quit() = 0;

    // At most one listener; null removes it.
    void setListener(Listener* listener) { listener_ = listener; }

  protected:
    Listener* listener() const { return listener_; }

  private:
    Listener* listener_ = nullptr;
};
