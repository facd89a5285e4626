#pragma once
// The player window's three timers (AdvanceTimer, PositionTimer, ResumeTimer) as QTimers
// kept by id. Every tick is handed to one callback with the timer's id, on the thread the
// timers live on (the user-interface thread).
#include <QObject>
#include <functional>
#include <map>

#include "playback/core/sequencer_timers.h"

class QTimer;

class WindowTimers : public QObject, public SequencerTimers {
    Q_OBJECT
  public:
    using TickFn = std::function<void(TimerId id)>;

    explicit WindowTimers(TickFn onTick, QObject* parent = nullptr);

    void startTimer(TimerId id, int periodMs) override;
    void killTimer(TimerId id) override;
    // True while the timer runs; its period in milliseconds, or 0 when it doesn't run.
    bool isRunning(TimerId id) const;
    int period(TimerId id) const;

  private:
    TickFn onTick_;
    std::map<TimerId, QTimer*> timers_;
};
