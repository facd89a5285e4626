#pragma once
// The kind of a selection; also the main bar's mode and the ini key App/ListType.
// Kept a plain enum on int: a value read from an edited file may lie outside the three.
enum ListType : int { Folder = 0, File = 1, SongListFile = 2 };
