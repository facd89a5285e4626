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
    // The two windows carry the same kind of frame, so putting the client areas on the
    // same point lines the frames up too. Client coordinates are exact whether or not the
    // window manager has told the frame's size yet (it hasn't for a hidden window), where
    // frame positions drift by the title bar's height at every hand-over.
    const QRect normal = source.isMinimized() || source.isMaximized() || source.isFullScreen()
                             ? source.normalGeometry()
                             : source.geometry();
    if (!normal.isValid()) {
        target.move(normalTopLeft(source));
        return;
    }
    target.setGeometry(QRect(normal.topLeft(), target.size()));
}

void handScreenOver(QWidget& from, QWidget& to) {
    takePosition(from, to);
    to.showNormal();
    // Some window managers place a window anew when it is mapped again, whatever it asked
    // for before; once it is mapped, ask again.
    QTimer::singleShot(0, &to, [target = QPointer<QWidget>(&to), point = to.geometry().topLeft()] {
        if (!target || !target->isVisible())
            return;
        const QRect wanted(point, target->size());
        target->setGeometry(wanted.translated(1, 0));
        target->setGeometry(wanted);
    });
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
