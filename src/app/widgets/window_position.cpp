#include "app/widgets/window_position.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <memory>

namespace {

// How long a hand-over or a queued Play waits for the window manager at most.
constexpr int kPlaceLimitMs = 4000;
// With a window manager that draws no frame, a shown window counts as placed after this.
constexpr int kNoFrameGraceMs = 300;
constexpr int kPollMs = 15;
// A title bar is reachable when this much of it (or the whole window, if narrower) lies
// on the screen and its top has this much room below the screen's top.
constexpr int kGrabWidth = 48;
constexpr int kTitleBand = 16;

bool platformHasFrames() {
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

// The frame margins the window manager gave the window, when it has told them.
QMargins knownFrameMargins(const QWidget& window) {
    const QWindow* handle = window.windowHandle();
    if (handle == nullptr || !window.isVisible())
        return {};
    return handle->frameMargins();
}

}  // namespace

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

QPoint frameTopLeft(const QWidget& window) {
    constexpr Qt::WindowStates special =
        Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;
    const QWindow* handle = window.windowHandle();
    // The platform window knows its frame as the window manager last told it; the
    // widget's own idea of its frame lags behind after a window is shown again.
    if (handle != nullptr && window.isVisible() && !(window.windowState() & special))
        return handle->framePosition();
    return normalTopLeft(window);
}

namespace {

// Puts the frame of `window` at `frame`, its client area `offset` inside the frame.
void placeFrame(QWidget& window, const QPoint& frame, const QPoint& offset) {
    window.setGeometry(QRect(frame + offset, window.size()));
}

QPoint clientOffset(const QWidget& window) {
    const QMargins margins = knownFrameMargins(window);
    return {margins.left(), margins.top()};
}

}  // namespace

void takePosition(const QWidget& source, QWidget& target) {
    const QPoint frame = frameTopLeft(source);
    // The client's offset inside the frame: the target's own when it is shown and framed,
    // else the source's (a hidden window has no frame yet).
    const QPoint offset =
        knownFrameMargins(target).isNull() ? clientOffset(source) : clientOffset(target);
    placeFrame(target, frame, offset);
}

bool isPlaced(const QWidget& window) {
    if (!platformHasFrames())
        return true;
    if (!window.isVisible())
        return false;
    if (window.isMinimized())
        return true;  // nothing to place on the screen
    const QWindow* handle = window.windowHandle();
    return handle != nullptr && handle->isExposed() && !handle->frameMargins().isNull();
}

void whenPlaced(QWidget& window, std::function<void()> then) {
    if (isPlaced(window)) {
        then();
        return;
    }
    auto* timer = new QTimer(&window);
    auto started = std::make_shared<QElapsedTimer>();
    auto exposedAt = std::make_shared<qint64>(-1);
    started->start();
    QObject::connect(
        timer, &QTimer::timeout, &window,
        [timer, started, exposedAt, target = QPointer<QWidget>(&window), then = std::move(then)] {
            if (!target) {
                timer->deleteLater();
                return;
            }
            const QWindow* handle = target->windowHandle();
            if (*exposedAt < 0 && handle != nullptr && handle->isExposed())
                *exposedAt = started->elapsed();
            const bool frameless =
                *exposedAt >= 0 && started->elapsed() - *exposedAt > kNoFrameGraceMs;
            if (!isPlaced(*target) && !frameless && started->elapsed() < kPlaceLimitMs)
                return;
            timer->stop();
            timer->deleteLater();
            then();
        });
    timer->start(kPollMs);
}

bool titleBarReachable(const QPoint& frameTopLeft, int width) {
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (screens.isEmpty())
        return true;
    const int grab = qMin(qMax(width, 1), kGrabWidth);
    for (const QScreen* screen : screens) {
        const QRect area = screen->availableGeometry();
        const bool topOnScreen =
            frameTopLeft.y() >= area.top() && frameTopLeft.y() + kTitleBand <= area.bottom();
        const int left = qMax(frameTopLeft.x(), area.left());
        const int right = qMin(frameTopLeft.x() + width, area.right() + 1);
        if (topOnScreen && right - left >= grab)
            return true;
    }
    return false;
}

void handScreenOver(QWidget& from, QWidget& to) {
    const QPoint wanted = frameTopLeft(from);
    takePosition(from, to);
    to.showNormal();
    to.raise();
    to.activateWindow();
    from.hide();
    // Once the window manager has placed it, the frame goes exactly where it should be.
    whenPlaced(to, [target = QPointer<QWidget>(&to), wanted] {
        if (!target || !target->isVisible() || target->isMinimized())
            return;
        if (!knownFrameMargins(*target).isNull() && frameTopLeft(*target) != wanted)
            placeFrame(*target, wanted, clientOffset(*target));
    });
}

bool hideMinimizedToTray(QWidget& window, bool trayInUse) {
    if (!trayInUse || !window.isMinimized())
        return false;
    // Hiding inside the state change itself would confuse the window manager's view of
    // the window; hide right after it. The next show is a showNormal.
    QTimer::singleShot(0, &window, [guard = QPointer<QWidget>(&window)] {
        if (guard && guard->isMinimized())
            guard->hide();
    });
    return true;
}
