#include "app/widgets/link_label.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFontMetrics>
#include <QPainter>

#include <utility>

namespace {

// Offset that centres `length` in `space`; a longer text starts at the leading edge.
int centredOffset(int space, int length) {
    return length > space ? 0 : (space - length) / 2;
}

}  // namespace

LinkLabel::LinkLabel(QWidget* parent) : LinkLabel(QString(), parent) {}

LinkLabel::LinkLabel(const QString& text, QWidget* parent)
    : QPushButton(text, parent),
      opener_([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {
    connect(this, &QAbstractButton::clicked, this, &LinkLabel::openAddress);
}

QUrl LinkLabel::address() const {
    return address_.isEmpty() ? QUrl::fromUserInput(text().trimmed()) : address_;
}

void LinkLabel::setOpener(UrlOpener opener) {
    opener_ = std::move(opener);
}

void LinkLabel::enterEvent(QEnterEvent* event) {
    hover = true;
    repaint();
    QPushButton::enterEvent(event);
}

void LinkLabel::leaveEvent(QEvent* event) {
    hover = false;
    repaint();
    QPushButton::leaveEvent(event);
}

void LinkLabel::paintEvent(QPaintEvent* /*event*/) {
    const QString caption = text();
    if (caption.isEmpty())
        return;
    const QFontMetrics metrics(font());
    const int x = centredOffset(width(), metrics.horizontalAdvance(caption));
    const int y = centredOffset(height(), metrics.height()) + metrics.ascent();

    QRgb shadow = restShadow;
    QRgb ink = restText;
    if (hover && isDown()) {
        shadow = pressedShadow;
        ink = pressedText;
    } else if (hover) {
        shadow = hoverShadow;
        ink = hoverText;
    }

    // No background: the dialog shows through, and the text is drawn three times, the
    // shadow two and one pixels to the right and one pixel down, the text on top.
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(QColor(shadow));
    painter.drawText(x + 2, y + 1, caption);
    painter.drawText(x + 1, y + 1, caption);
    painter.setPen(QColor(ink));
    painter.drawText(x, y, caption);
}

// The opening runs as a queued call on the application object, after the click has
// returned; it does not depend on the label, which may be gone by then (the about box
// can close straight after the click). QDesktopServices is not documented as safe to
// call from other threads, and on this desktop it hands the address to a detached
// launcher, so the call itself is short.
void LinkLabel::openAddress() {
    const QUrl url = address();
    if (!url.isValid() || url.isEmpty() || !opener_)
        return;
    QMetaObject::invokeMethod(
        qApp,
        [opener = opener_, url] {
            if (!opener(url))
                QApplication::beep();
        },
        Qt::QueuedConnection);
}
