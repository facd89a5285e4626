#pragma once
// Writing the player's current song list to a file the user names in a save dialog (the
// command "現在のリストをファイルに書き出す ..."): a ".lst" song list, or a UTF-8 M3U
// playlist when the name ends in ".m3u8" (or ".m3u").
#include <functional>
#include <optional>
#include <string>

class QWidget;
class SongList;

// The user's side of the save: the dialog and the message boxes, replaceable for tests.
struct SongListSaveUi {
    // Asks for the file to write, starting in `startFolder` (empty: the platform's
    // choice). nullopt when the user cancels.
    std::function<std::optional<std::string>(const std::string& startFolder)> choosePath;
    // A message box with an OK button; returns when it is closed.
    std::function<void(const std::string& text)> showMessage;
};

// The save dialog ("File list select dialog", filters "File list (*.lst)", "M3U playlist
// (*.m3u8)" and "All Files (*.*)", default suffix "lst", or "m3u8" while that filter is
// chosen, asks before replacing a file) over `parent`.
std::optional<std::string> chooseSongListPath(QWidget* parent, const std::string& startFolder);

// Result codes of SaveSongList.
namespace save_song_list {
inline constexpr int kSaved = 0;  // written, or cancelled
inline constexpr int kBadName = -1;
inline constexpr int kEmptyList = -2;
inline constexpr int kCannotCreate = -3;
}  // namespace save_song_list

// Asks for a file and writes `list` to it. 0 when written or cancelled; -1 for an empty
// file name, -2 for an empty list (no file is created), -3 when the file can't be
// created; each failure is told to the user in a message box, and so is the number of
// songs left out of a written file because their paths can't stand in it.
int SaveSongList(const SongList& list, const std::string& startFolder, const SongListSaveUi& ui);
