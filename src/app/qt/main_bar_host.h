#pragma once
// What the main bar needs of the application around it: the ini store, the settings, the
// tray, the window that has the screen, the hand-over of the screen to the player window,
// the settings sheet and the application's part of Exit. The application object
// implements it; tests use a recording fake. settings(), trayAvailable() and
// openSettings() have the same signatures as in PlayerHost, so one implementation serves
// both windows.
#include <string>

#include "app/core/list_type.h"

struct AppSettings;
class ProfileStore;
class QWidget;

class MainBarHost {
  public:
    virtual ~MainBarHost() = default;

    // The ini store: the bar reads its histories, mode and position from it when it is
    // created and writes them to it at Exit (the file itself is written by endProgram's
    // saveSettings).
    virtual ProfileStore& profileStore() = 0;
    // The settings of the run, read when needed: isStartAndPlay at creation, isnoTaskTray
    // on minimizing, searchExtent for the file dialog.
    virtual AppSettings& settings() = 0;
    // True when the desktop offers a notification area. The bar hides to the tray on
    // minimizing only when this holds and isnoTaskTray is not set.
    virtual bool trayAvailable() const = 0;
    // The window that has the screen (mainWindow); Exit shows and raises it.
    virtual QWidget* mainWindow() const = 0;

    // Play, after the bar has pushed `selection` onto its history: the player window
    // becomes mainWindow, takes the bar's place (handScreenOver(bar, playerWindow) does
    // takePosition, show on top and hiding the bar), the player window's MenuSource
    // becomes menuSource, and its startSession(selection, mode) runs, synchronously.
    virtual void handOverToPlayer(QWidget& bar, const std::string& selection, ListType mode) = 0;

    // Runs the settings sheet at `startPage` (the bar passes 0).
    virtual void openSettings(int startPage) = 0;

    // Exit, after the bar has put its histories, ListType, left, top and ICON into the
    // profile store: saveSettings (which writes the store to the file), removes the tray
    // icon, and ends the program so that both windows are destroyed. The bar is still
    // inside its command handler: the host must not delete it before this call has
    // returned (QCoreApplication::quit() and destruction in ExitInstance, or deleteLater).
    virtual void endProgram() = 0;
};
