#pragma once
// The song searcher's probe: a MediaGraph that only opens files (sound to a fakesink, no
// report, no effects), made on the search thread at the start of each search.
#include "songlist/core/song_probe.h"

SongProbeFactory makeMediaProbeFactory();
