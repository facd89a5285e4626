#include "playback/core/play_modes.h"

#include <cmath>

LoopMode loopModeOf(const PlayOptions& play) {
    if (play.isRepeat)
        return LoopMode::Track;
    return play.isEndless ? LoopMode::Playlist : LoopMode::None;
}

void setLoopMode(PlayOptions& play, LoopMode loop) {
    play.isRepeat = loop == LoopMode::Track;
    if (loop != LoopMode::Track)
        play.isEndless = loop == LoopMode::Playlist;
}

int volumePercentOf(double volume) {
    if (!(volume > 0))
        return 0;
    if (volume >= 1)
        return 100;
    return static_cast<int>(std::lround(volume * 100));
}

bool demoCutsSong(int demoSeconds, double durationSeconds) {
    const double whole =
        durationSeconds >= 0 && durationSeconds < 2147483647.0 ? std::floor(durationSeconds) : 0;
    return demoSeconds > 0 && demoSeconds < whole;
}
