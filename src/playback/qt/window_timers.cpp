#include "playback/qt/window_timers.h"

#include <QTimer>
#include <utility>

WindowTimers::WindowTimers(TickFn onTick, QObject* parent)
    : QObject(parent), onTick_(std::move(onTick)) {
    for (const TimerId id : {TimerId::AdvanceTimer, TimerId::PositionTimer, TimerId::ResumeTimer}) {
        auto* timer = new QTimer(this);
        timer->setTimerType(Qt::CoarseTimer);
        connect(timer, &QTimer::timeout, this, [this, id] {
            // A tick already queued when the timer was killed is dropped.
            if (timers_.at(id)->isActive())
                onTick_(id);
        });
        timers_[id] = timer;
    }
}

void WindowTimers::startTimer(TimerId id, int periodMs) {
    timers_.at(id)->start(periodMs);
}

void WindowTimers::killTimer(TimerId id) {
    timers_.at(id)->stop();
}

bool WindowTimers::isRunning(TimerId id) const {
    return timers_.at(id)->isActive();
}

int WindowTimers::period(TimerId id) const {
    const QTimer* timer = timers_.at(id);
    return timer->isActive() ? timer->interval() : 0;
}
