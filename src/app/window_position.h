#pragma once
// Where the main bar and the player window stand. They take each other's place when the
// screen passes from one to the other, so the window the user moved last decides where
// the next one appears.
#include <QPoint>

class QWidget;

// The top-left corner, frame included, that `window` has or would have in its normal
// (not minimized, not maximized) state, in screen coordinates.
QPoint normalTopLeft(const QWidget& window);

// Moves `target` so that its top-left corner (frame included) is at the normal top-left
// corner of `source`, keeping the target's size.
void takePosition(const QWidget& source, QWidget& target);

// The hand-over of the screen: `to` takes the place of `from` (takePosition), is shown
// normally, raised and activated, and `from` is hidden. Play hands the screen from the
// main bar to the player window, the end of a session hands it back.
void handScreenOver(QWidget& from, QWidget& to);

// For the changeEvent of a top-level window: when the window has just been minimized and
// the tray is in use, hides it once the state change is through, so that it lives in the
// tray only. Returns true when it hides the window.
bool hideMinimizedToTray(QWidget& window, bool trayInUse);
