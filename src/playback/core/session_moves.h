#pragma once
// Whether the session's Next and Previous would start another song now: the one rule the
// player window's menu and the desktop's media controls (CanGoNext, CanGoPrevious) share.
struct SessionPlace {
    bool inSession = false;
    int currentIndex = -1;   // -1 before the first song
    int count = 0;           // songs listed so far
    int playedCount = 0;     // choices made in this session
    bool searching = false;  // the search may still list songs
    bool random = false;
    bool endless = false;
    int playCnt = 0;  // songs per session without endless play; 0 = all
};

// Next: the next choice would be admitted by the session's count, and names a listed song
// (in order: the next entry, or the first again in endless play once the search has
// ended; at random: another song than the current one, within the n - 1 songs a finished
// search allows without endless play).
bool canGoNext(const SessionPlace& place);
// Previous: in order play, from the second song on.
bool canGoPrevious(const SessionPlace& place);
