#pragma once
// The user's settings as three records, one per ini section. Members bear the ini key
// names so every part of the program reads them by the same name as the file does.
#include <string>

class EffectCatalogue;

// Section "PlaySettings".
struct PlayOptions {
    bool isStartAndIcon = false;
    int PlayTime = 0;  // demo play time in seconds; 0 plays every song to its end
    bool isRepeat = false;
    int repeatCnt = 0;  // 0 repeats until the user acts
    bool isRandom = false;
    int waitTime = 0;  // seconds between songs and before a repeat
    bool isEndless = false;
    int playCnt = 0;  // songs per session without endless play; 0 = all
    bool useEffect = false;
    EffectCatalogue* effectCatalogue = nullptr;  // not stored; owned by the application
};

// Section "OhterSettings" (the file has always spelled it so).
struct OtherOptions {
    bool isStartAndPlay = false;
    bool isEndAndPlay = false;
    bool isnoTaskTray = false;
    int slistAddType = 0;  // 0 renew, 1 add when the selection differs, 2 always add
    std::string searchExtent = "*.wav;*.mp3;*.avi";
    std::string flist;   // folder the song list save dialog opens in
    std::string filter;  // pipeline report file; empty means no report
};

// Section "App", the program's own keys beside the window's (which the windows keep).
struct AppOptions {
    int Volume = 100;  // percent, 0..100, on the cubic scale a desktop mixer shows
};

struct AppSettings {
    PlayOptions play;
    OtherOptions other;
    AppOptions app;
};
