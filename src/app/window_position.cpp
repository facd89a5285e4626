#include "app/window_position.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

QPoint normalTopLeft(const QWidget& window) {
    constexpr Qt::WindowStates special =
        Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;
    if (!(window.windowState() & special))
        return window.pos();
    // normalGeometry() is the client area; the frame stands where it stood around it.
    const QPoint frameOffset = window.pos() - window.geometry().topLeft();
    const QRect normal = window.normalGeometry();
    if (!normal.isValid())
        return window.pos();
    return normal.topLeft() + frameOffset;
}

void takePosition(const QWidget& source, QWidget& target) {
    target.move(normalTopLeft(source));
}

void handScreenOver(QWidget& from, QWidget& to) {
    takePosition(from, to);
    to.showNormal();
    to.raise();
    to.activateWindow();
    from.hide();
}

bool hideMinimizedToTray(QWidget& window, bool trayInUse) {
    if (!trayInUse || !window.isMinimized())
        return false;
    // Hiding inside the state change itself would confuse the window manager's view of
    // the window; hide right after it.
    QTimer::singleShot(0, &window, [guard = QPointer<QWidget>(&window)] {
        if (guard && guard->isMinimized())
            guard->hide();
    });
    return true;
}
