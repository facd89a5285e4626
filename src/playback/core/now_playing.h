#pragma once
// What is playing now, as everything outside the session sees it: the desktop's media
// controls, the tray and the window's menus. The play sequencer fills it from what it
// did last (a song running, paused, between songs, over) and announces every change, so
// no reader has to put it together from the graph itself.
#include <string>

// Playing only while a song is heard. A repeat's wait is Paused (the song stands at its
// start); a wait between songs, a song that is over and a search that has found nothing
// yet are Stopped.
enum class PlayState { Stopped, Playing, Paused };

// What happens after a song: nothing more, the song again (repeat), or the list again
// (endless play). Repeat goes first when both are set, as the session applies them.
enum class LoopMode { None, Track, Playlist };

struct NowPlaying {
    PlayState state = PlayState::Stopped;
    // Counts the songs opened for play during the run, so each play of a song has its own
    // id; 0 when no song is open.
    int songNumber = 0;
    std::string path;
    std::string author;
    std::string title;
    std::string album;
    int trackNumber = 0;       // 0 when not tagged
    std::string coverPath;     // a picture of the song's album, empty when none
    double lengthSeconds = 0;  // 0 when unknown
    bool canPlay = false;
    bool canPause = false;
    bool canSeek = false;
    bool canGoNext = false;
    bool canGoPrevious = false;
    // The play options and the program's volume (percent, cubic scale), also outside a
    // session.
    LoopMode loop = LoopMode::None;
    bool shuffle = false;
    int volumePercent = 100;

    bool operator==(const NowPlaying&) const = default;
};
