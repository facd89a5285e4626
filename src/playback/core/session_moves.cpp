#include "playback/core/session_moves.h"

bool canGoNext(const SessionPlace& place) {
    if (!place.inSession || place.currentIndex < 0 || place.count <= 0)
        return false;
    const int nextCount = place.playedCount + 1;
    if (!place.endless && place.playCnt != 0 && nextCount > place.playCnt)
        return false;
    if (place.random) {
        const bool another = place.count > 1 || place.currentIndex != 0;
        return another && (place.searching || place.endless || nextCount < place.count);
    }
    if (place.currentIndex + 1 < place.count)
        return true;
    return !place.searching && place.endless;
}

bool canGoPrevious(const SessionPlace& place) {
    return place.inSession && !place.random && place.currentIndex > 0 &&
           place.currentIndex - 1 < place.count;
}
