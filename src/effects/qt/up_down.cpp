#include "effects/qt/up_down.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <algorithm>
#include <climits>

namespace {

// Held arrows repeat after this delay, then at this period; the step grows the longer
// an arrow is held, as a user expects from an up-down control.
constexpr int kRepeatDelayMs = 400;
constexpr int kRepeatPeriodMs = 60;

int acceleratedStep(int repeats) {
    if (repeats >= 80)
        return 20;  // held for about five seconds
    if (repeats >= 30)
        return 5;  // held for about two seconds
    return 1;
}

bool isSpace(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

}  // namespace

int leadingDecimal(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && isSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + (text[i].unicode() - u'0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            break;  // clamped below
    }
    if (negative)
        value = -value;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

UpDown::UpDown(QLineEdit* buddy, int width, QWidget* parent) : QWidget(parent), buddy_(buddy) {
    setFocusPolicy(Qt::NoFocus);
    const QRect edit = buddy->geometry();
    buddy->setGeometry(edit.x(), edit.y(), edit.width() - width, edit.height());
    setGeometry(edit.x() + edit.width() - width, edit.y(), width, edit.height());
    buddy->installEventFilter(this);
    repeatTimer_.setSingleShot(false);
    connect(&repeatTimer_, &QTimer::timeout, this, &UpDown::repeatStep);
}

void UpDown::setRange(int minimum, int maximum) {
    minimum_ = std::min(minimum, maximum);
    maximum_ = std::max(minimum, maximum);
}

void UpDown::stepBy(int steps) {
    const long long current = std::clamp(leadingDecimal(buddy_->text()), minimum_, maximum_);
    const long long next = std::clamp<long long>(current + steps, minimum_, maximum_);
    buddy_->setText(QString::number(next));
}

QSize UpDown::sizeHint() const {
    return size();
}

QRect UpDown::arrowRect(Arrow arrow) const {
    const int half = height() / 2;
    return arrow == Arrow::Up ? QRect(0, 0, width(), half)
                              : QRect(0, half, width(), height() - half);
}

UpDown::Arrow UpDown::arrowAt(const QPoint& point) const {
    if (arrowRect(Arrow::Up).contains(point))
        return Arrow::Up;
    if (arrowRect(Arrow::Down).contains(point))
        return Arrow::Down;
    return Arrow::None;
}

void UpDown::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    for (const Arrow arrow : {Arrow::Up, Arrow::Down}) {
        QStyleOptionButton button;
        button.initFrom(this);
        button.rect = arrowRect(arrow);
        if (pressed_ == arrow)
            button.state |= QStyle::State_Sunken;
        else
            button.state |= QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &button, &painter, this);
        QStyleOption indicator = button;
        indicator.rect = button.rect.adjusted(2, 1, -2, -1);
        style()->drawPrimitive(
            arrow == Arrow::Up ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown,
            &indicator, &painter, this);
    }
}

void UpDown::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    pressed_ = arrowAt(event->position().toPoint());
    if (pressed_ == Arrow::None)
        return;
    repeats_ = 0;
    stepBy(pressed_ == Arrow::Up ? 1 : -1);
    repeatTimer_.start(kRepeatDelayMs);
    update();
}

void UpDown::mouseReleaseEvent(QMouseEvent*) {
    stopRepeat();
}

void UpDown::repeatStep() {
    if (pressed_ == Arrow::None)
        return stopRepeat();
    repeatTimer_.setInterval(kRepeatPeriodMs);
    const int step = acceleratedStep(++repeats_);
    stepBy(pressed_ == Arrow::Up ? step : -step);
}

void UpDown::stopRepeat() {
    repeatTimer_.stop();
    pressed_ = Arrow::None;
    update();
}

bool UpDown::eventFilter(QObject* watched, QEvent* event) {
    if (watched == buddy_ && event->type() == QEvent::KeyPress && isEnabled()) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            stepBy(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void UpDown::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange && !isEnabled())
        stopRepeat();
    QWidget::changeEvent(event);
}
