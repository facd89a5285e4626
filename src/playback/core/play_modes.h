#pragma once
// The play options as the desktop's media controls name them: a loop mode for repeat and
// endless play, and the volume as a share of 1 beside the percent the ini file keeps.
#include "app/core/app_settings.h"
#include "playback/core/now_playing.h"

LoopMode loopModeOf(const PlayOptions& play);
// None clears both options; Track sets repeat (keeping its count and endless play);
// Playlist sets endless play and clears repeat.
void setLoopMode(PlayOptions& play, LoopMode loop);
// 0..1 to whole percent, clamped; NaN reads as 0.
int volumePercentOf(double volume);
// Whether the demo time cuts a song of `durationSeconds`: set and shorter than the
// song's whole seconds (an unknown length never is).
bool demoCutsSong(int demoSeconds, double durationSeconds);
