#pragma once
// The program's own artwork, compiled in from src/app/resources (vorn_icons.qrc):
//   :/icons/app-16.png, app-32.png, app-48.png, app-128.png  the application icon (128)
//   :/icons/thumb.png                                        the slider thumb (131)
#include <QIcon>
#include <QPixmap>

inline constexpr int kAppIconResource = 128;
inline constexpr int kThumbResource = 131;
inline constexpr int kThumbWidth = 11;
inline constexpr int kThumbHeight = 16;

// The application icon at every size it is drawn in (16, 32, 48 and 128 pixels).
QIcon appIcon();
// The application icon at 16 x 16 pixels only, for the tray and small window icons.
QIcon smallAppIcon();
// The application icon as a pixmap of `size` x `size` pixels.
QPixmap appIconPixmap(int size);
// The slider thumb, 11 x 16 pixels.
QPixmap thumbPixmap();
