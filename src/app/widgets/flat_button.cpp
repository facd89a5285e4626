#include "app/widgets/flat_button.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QPainter>

namespace {

QPen edgePen(const QColor& colour) {
    QPen pen(colour, 1, Qt::SolidLine);
    pen.setCosmetic(true);
    return pen;
}

// Offset that centres `length` in `space`; a longer text starts at the leading edge.
int centredOffset(int space, int length) {
    return length > space ? 0 : (space - length) / 2;
}

}  // namespace

FlatButton::FlatButton(QWidget* parent) : FlatButton(QString(), parent) {}

FlatButton::FlatButton(const QString& text, QWidget* parent)
    : QPushButton(text, parent),
      highlightPen(edgePen(palette().color(QPalette::Active, QPalette::Light))),
      shadowPen(edgePen(palette().color(QPalette::Active, QPalette::Dark))) {}

void FlatButton::enterEvent(QEnterEvent* event) {
    hover = true;
    repaint();
    QPushButton::enterEvent(event);
}

void FlatButton::leaveEvent(QEvent* event) {
    if (!hasFocus())
        hover = false;
    repaint();
    QPushButton::leaveEvent(event);
}

void FlatButton::focusInEvent(QFocusEvent* event) {
    QPushButton::focusInEvent(event);
    hover = true;
    repaint();
}

void FlatButton::focusOutEvent(QFocusEvent* event) {
    QPushButton::focusOutEvent(event);
    hover = false;
    repaint();
}

void FlatButton::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const QRect item = rect();
    painter.fillRect(item, palette().brush(QPalette::Active, QPalette::Button));
    if (hover)
        drawEdge(painter, item, isDown());
    drawCaption(painter, item);
}

// Two three-point lines: the top-left one from the top-right corner along the top and
// down the left side, the bottom-right one down the right side and back along the
// bottom. Like the classic line drawing, neither line paints its last point, so the
// bottom-left corner stays face-coloured and the bottom-right line owns the top-right
// corner.
void FlatButton::drawEdge(QPainter& painter, const QRect& item, bool pressed) const {
    const int left = item.left();
    const int top = item.top();
    const int right = item.right();
    const int bottom = item.bottom();

    painter.setPen(pressed ? shadowPen : highlightPen);
    painter.drawLine(left, top, right, top);
    if (bottom - 1 >= top)
        painter.drawLine(left, top, left, bottom - 1);

    painter.setPen(pressed ? highlightPen : shadowPen);
    if (bottom - 1 >= top)
        painter.drawLine(right, top, right, bottom - 1);
    if (right >= left + 1)
        painter.drawLine(left + 1, bottom, right, bottom);
}

// The caption is centred in both directions; one wider or taller than the button starts
// at its left or top edge. "&" marks the mnemonic and shows as an underline. The text
// keeps the normal button text colour even when the button is disabled.
void FlatButton::drawCaption(QPainter& painter, const QRect& item) const {
    const QString caption = text();
    if (caption.isEmpty())
        return;
    const QFontMetrics metrics(font());
    const QSize size = metrics.size(Qt::TextShowMnemonic | Qt::TextSingleLine, caption);
    const QRect textRect(item.left() + centredOffset(item.width(), size.width()),
                         item.top() + centredOffset(item.height(), size.height()), size.width(),
                         size.height());
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::Active, QPalette::ButtonText));
    painter.drawText(textRect,
                     Qt::AlignHCenter | Qt::AlignTop | Qt::TextShowMnemonic | Qt::TextSingleLine,
                     caption);
}
