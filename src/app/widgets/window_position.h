#pragma once
// Where the main bar and the player window stand. They take each other's place when the
// screen passes from one to the other, so the window the user moved last decides where
// the next one appears. Places are frame positions: the top-left corner of the window
// with its title bar, as the window manager draws it.
#include <QPoint>
#include <functional>

class QRect;
class QWidget;

// The top-left corner, frame included, that `window` has or would have in its normal
// (not minimized, not maximized) state, in screen coordinates.
QPoint normalTopLeft(const QWidget& window);

// The frame's top-left corner where `window` stands now, or for a minimized or maximized
// window where it would stand in its normal state.
QPoint frameTopLeft(const QWidget& window);

// Moves `target` so that its frame's top-left corner is at the normal frame top-left
// corner of `source`, keeping the target's size. A hidden target has no frame yet: its
// client area goes where the source's frame holds its client area (the two windows carry
// the same kind of frame).
void takePosition(const QWidget& source, QWidget& target);

// The hand-over of the screen: `to` takes the place of `from` (takePosition), is shown
// normally, raised and activated, and `from` is hidden. Once the window manager has
// placed `to`, its frame is put exactly on the place wanted (some window managers place a
// window anew when it is mapped again). Play hands the screen from the main bar to the
// player window, the end of a session hands it back.
void handScreenOver(QWidget& from, QWidget& to);

// True when the window manager is through with placing `window`: it is shown (or
// minimized) and its frame is known. Always true on platforms without a window manager's
// frames (offscreen).
bool isPlaced(const QWidget& window);

// Calls `then` once `window` is placed (at once when it is already), or after a limit of
// a few seconds when no window manager answers; never after `window` is gone.
void whenPlaced(QWidget& window, std::function<void()> then);

// Whether a window whose frame's top-left corner is `frameTopLeft` and whose width is
// `width` can be reached by its title bar: the top of the frame lies on a screen's
// available area with enough of the title bar's width beside it to grab it.
bool titleBarReachable(const QPoint& frameTopLeft, int width);

// For the changeEvent of a top-level window: when the window has just been minimized and
// the tray is in use, hides it once the state change is through, so that it lives in the
// tray only (unmapped and out of the task list). Returns true when it hides the window.
bool hideMinimizedToTray(QWidget& window, bool trayInUse);
