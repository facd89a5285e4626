#pragma once
// The player window's own keys, as other players have them: Space pauses or resumes,
// Left and Right seek 5 seconds, Up and Down change the volume by 5 percent. They act
// whichever control of the window has the focus (a button would take Space, the slider
// the arrows), and only in this window, not in its dialogs or the song list.
#include <functional>

class QWidget;

struct PlayerKeyActions {
    std::function<void()> pauseResume;
    std::function<void(double seconds)> seekBy;
    std::function<void(int percent)> volumeBy;
};

inline constexpr double kSeekStepSeconds = 5;
inline constexpr int kVolumeStepPercent = 5;

void installPlayerKeys(QWidget& window, PlayerKeyActions actions);
