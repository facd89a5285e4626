#pragma once
// What the play sequencer asks of the player window. Every call comes from the
// user-interface thread.
#include <string>

class PlayerView {
  public:
    virtual ~PlayerView() = default;

    // The window title ("Player", "<...> Playing ..", "<...> Pausing ..").
    virtual void setStatusText(const std::string& text) = 0;
    // The slider's own text, drawn on its channel (song description, "検索中...").
    virtual void setSliderText(const std::string& text) = 0;
    // Puts the slider at position 0 and clears its selection range.
    virtual void resetSlider() = 0;
    // Hands the list's current count to the song list view (SetItemCount).
    virtual void refreshItemCount(int count) = 0;
    // A message box with the text and an OK button only; returns when it is closed.
    virtual void showMessage(const std::string& text) = 0;
    // Replaces the tray icon's tip (cut to 63 bytes) and raises the main bar in the window
    // order without moving, sizing or activating it. Only called when the tray is used.
    virtual void setTrayTip(const std::string& text) = 0;
    // Iconifies the player window at session start.
    virtual void iconify() = 0;
    // Repaints the slider (the stop-after mark changed).
    virtual void redrawSlider() = 0;
    // Shows the song list view over the window with row `index` selected; a pick there
    // comes back as PlayIndex.
    virtual void showSongList(int index) = 0;
    // The exclamation beep.
    virtual void soundExclamation() = 0;
    // Posts PlayIndex(index) to the window itself; it arrives after the current handler.
    virtual void postPlayIndex(int index) = 0;
    // The main bar takes the player window's position, becomes the main window and menu
    // source, is shown on top, and the player window is hidden.
    virtual void handBackToMainBar() = 0;
    // Posts the Exit command to the main bar, which ends the application.
    virtual void postExitToMainBar() = 0;
};
