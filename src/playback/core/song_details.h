#pragma once
// What a song offers the desktop's media widgets beyond its artist, title and comment:
// the album, the track number and a picture of its cover.
#include <string>

struct SongDetails {
    std::string album;
    int trackNumber = 0;    // 0: not tagged
    std::string coverPath;  // absolute path of a picture file; empty: none
};
