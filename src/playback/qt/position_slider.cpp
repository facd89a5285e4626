#include "playback/qt/position_slider.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "app/widgets/dialog_units.h"

namespace {

constexpr int kThumbWidth = 11;
constexpr int kThumbHeight = 16;
constexpr int kChannelInset = 6;  // room for half a thumb at either end of the channel
constexpr int kTickStep = 10;

}  // namespace

PositionSlider::PositionSlider(QWidget* parent) : QAbstractSlider(parent) {
    setObjectName(QStringLiteral("Slider2"));
    setProperty("controlId", kControlId);
    setOrientation(Qt::Horizontal);
    setRange(0, 100);
    setPageStep(5);
    setSingleStep(1);
    setFocusPolicy(Qt::StrongFocus);
    setFont(dialogFont());
    connect(this, &QAbstractSlider::actionTriggered, this, &PositionSlider::onAction);
}

void PositionSlider::setSliderText(const QString& text) {
    if (text == sliderText_)
        return;
    sliderText_ = text;
    update();
}

void PositionSlider::setTimeTexts(const QString& elapsed, const QString& total) {
    elapsedText_ = elapsed;
    totalText_ = total;
    update();
}

void PositionSlider::setElapsedText(const QString& elapsed) {
    elapsedText_ = elapsed;
}

void PositionSlider::setStopMark(bool shown) {
    stopMark_ = shown;
    update();
}

void PositionSlider::setThumb(const QPixmap& thumb) {
    thumb_ = thumb.scaled(kThumbWidth, kThumbHeight);
    update();
}

void PositionSlider::setSelection(int start, int end) {
    selStart_ = start;
    selEnd_ = end;
}

void PositionSlider::repaintTimeText() {
    if (timeTextRect_.isValid()) {
        repaint(timeTextRect_);
    } else {
        repaint();
    }
}

int PositionSlider::channelLeft() const {
    return kChannelInset;
}

int PositionSlider::channelRight() const {
    return width() - kChannelInset;
}

QRect PositionSlider::thumbRect(int position) const {
    const int span = maximum() - minimum();
    const int offset =
        span > 0 ? (position - minimum()) * (channelRight() - channelLeft()) / span : 0;
    const int centre = channelLeft() + offset;
    // The thumb stands on the client bottom, its icon 16 pixels high.
    return QRect(centre - kThumbWidth / 2, height() - kThumbHeight, kThumbWidth, kThumbHeight);
}

int PositionSlider::positionAt(int x) const {
    const int width = channelRight() - channelLeft();
    if (width <= 0)
        return minimum();
    const int span = maximum() - minimum();
    const int value = minimum() + ((x - channelLeft()) * span + width / 2) / width;
    return std::clamp(value, minimum(), maximum());
}

void PositionSlider::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int c = height();  // the client rectangle's bottom
    const int left = channelLeft();
    const int right = channelRight();

    // Ticks every ten, drawn below the channel as the plain track bar does.
    painter.setPen(palette().color(QPalette::Mid));
    for (int v = minimum(); v <= maximum(); v += kTickStep) {
        const int x = thumbRect(v).center().x();
        painter.drawLine(x, c - 3, x, c - 1);
    }

    // The channel: a line from the left foot to the right end, rising at the right end,
    // higher and in the second colour when the session stops after this song.
    painter.setPen(channelPen_);
    painter.drawLine(left + 5, c - 10, left + 5, c - 5);
    painter.drawLine(left + 5, c - 5, right - 6, c - 5);
    const int rise = stopMark_ ? 20 : 10;
    if (stopMark_)
        painter.setPen(stopMarkPen_);
    painter.drawLine(right - 6, c - 5, right - 6, c - rise);

    painter.setFont(font());
    const QFontMetrics metrics(font());
    const auto drawAt = [&](int x, int y, const QColor& colour, const QString& text) {
        painter.setPen(colour);
        painter.drawText(QPoint(x, y + metrics.ascent()), text);
    };
    drawAt(1, 1, kShadowColor, sliderText_);
    drawAt(0, 0, kTextColor, sliderText_);

    const QString time = elapsedText_ + totalText_;
    const int w = metrics.horizontalAdvance(time);
    const int ht = metrics.height();
    drawAt(right - w - 5, 1, kShadowColor, time);
    drawAt(right - w - 6, 0, kTimeColor, time);
    timeTextRect_ = QRect(QPoint(right - w - 6, 0), QPoint(right - w / 2 - 6 - 1, ht - 1));

    paintedPosition_ = sliderPosition();
    if (!thumb_.isNull())
        painter.drawPixmap(thumbRect(paintedPosition_).topLeft(), thumb_);
}

void PositionSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    const QRect thumb = thumbRect(sliderPosition());
    if (thumb.contains(event->position().toPoint())) {
        dragging_ = true;
        dragOffset_ = event->position().toPoint().x() - thumb.center().x();
        setSliderDown(true);
    } else {
        // A click on the channel pages toward the click, as the track bar does.
        const int target = positionAt(event->position().toPoint().x());
        triggerAction(target > sliderPosition() ? SliderPageStepAdd : SliderPageStepSub);
    }
    event->accept();
}

void PositionSlider::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_) {
        event->ignore();
        return;
    }
    const int target = positionAt(event->position().toPoint().x() - dragOffset_);
    if (target != sliderPosition()) {
        setSliderPosition(target);
        emit seekRequested(target);
    }
    event->accept();
}

void PositionSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (!dragging_) {
        event->ignore();
        return;
    }
    dragging_ = false;
    setSliderDown(false);
    emit seekRequested(sliderPosition());
    event->accept();
}

void PositionSlider::onAction(int action) {
    // Keys and channel clicks: the position they lead to is already set.
    if (action != SliderMove && action != SliderNoAction)
        emit seekRequested(sliderPosition());
}

void PositionSlider::sliderChange(SliderChange change) {
    if (change == SliderValueChange) {
        // Only the thumb moves: redraw where it was and where it is.
        update(thumbRect(paintedPosition_).united(thumbRect(sliderPosition())));
        return;
    }
    QAbstractSlider::sliderChange(change);
}

QSize PositionSlider::sizeHint() const {
    const DialogUnits units(font());
    return {units.x(240), units.y(20)};
}
