#pragma once
// The window timers and application messages through which the play sequencer and the
// player window talk. The ids keep their historic numbers; the window maps them onto
// QTimers and queued calls.
#include <climits>
#include <cstdint>

// The three timers of the player window, started and killed by name.
enum class TimerId : int {
    AdvanceTimer = 256,   // polls for the next song (500 ms) or waits between songs
    PositionTimer = 512,  // moves the slider and the elapsed time (800 ms)
    ResumeTimer = 768,    // resumes a repeated song after the wait, once
};

// Application messages of the player window.
enum class PlayerMessage : int {
    SearchDone = 0x8010,   // sent by the search thread, wParam = result of the walk
    GraphNotify = 0x8020,  // posted on behalf of the playback graph
    PlayIndex = 0x8030,    // posted by the sequencer and the song list view, wParam = index
};

inline constexpr int kAdvancePollMs = 500;
inline constexpr int kPositionPeriodMs = 800;

// Timer period for a wait given in whole seconds, clamped so a huge value read from a
// damaged settings file can't overflow.
constexpr int periodForSeconds(int seconds) {
    const std::int64_t ms = static_cast<std::int64_t>(seconds) * 1000;
    return ms > INT_MAX ? INT_MAX : (ms < 0 ? 0 : static_cast<int>(ms));
}

// Periodic timers owned by the player window. All calls come from the user-interface
// thread; ticks arrive there too, one at a time.
class SequencerTimers {
  public:
    virtual ~SequencerTimers() = default;
    // Starts the timer with the given period, or restarts it with that period when it runs.
    virtual void startTimer(TimerId id, int periodMs) = 0;
    // Stops the timer; nothing happens when it doesn't run. No tick arrives after this.
    virtual void killTimer(TimerId id) = 0;
};
