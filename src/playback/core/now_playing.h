#pragma once
// What is playing now, as the desktop's media controls see it: the state of the session,
// the current song and which of the session's commands can act. The player window fills
// it from its sequencer and graph; the remote controls (D-Bus) only read it.
#include <string>

enum class PlayState { Stopped, Playing, Paused };

struct NowPlaying {
    PlayState state = PlayState::Stopped;
    // Counts the songs opened for play during the run, so each play of a song has its own
    // id; 0 when no song is open.
    int songNumber = 0;
    std::string path;
    std::string author;
    std::string title;
    double lengthSeconds = 0;  // 0 when unknown
    bool canPlay = false;
    bool canPause = false;
    bool canSeek = false;
    bool canGoNext = false;
    bool canGoPrevious = false;

    bool operator==(const NowPlaying&) const = default;
};
