#pragma once
// The picture of an album's cover that sits in the folder of its songs, as other players
// show it: cover, folder, front or album, as .jpg, .jpeg or .png, in any letter case.
#include <string>

// The absolute path of the cover picture in the folder of the song at `songPath`; "" when
// there is none. Several candidates give the first by name (cover, folder, front, album),
// then by type (jpg, jpeg, png). Costs one read of the folder.
std::string folderCoverOf(const std::string& songPath);
