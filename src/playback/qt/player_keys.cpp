#include "playback/qt/player_keys.h"

#include <QKeySequence>
#include <QShortcut>
#include <QWidget>

namespace {
void onKey(QWidget& window, Qt::Key key, std::function<void()> action) {
    auto* shortcut = new QShortcut(QKeySequence(key), &window);
    shortcut->setContext(Qt::WindowShortcut);
    shortcut->setAutoRepeat(key != Qt::Key_Space);
    QObject::connect(shortcut, &QShortcut::activated, &window, std::move(action));
}
}  // namespace

void installPlayerKeys(QWidget& window, PlayerKeyActions actions) {
    onKey(window, Qt::Key_Space, actions.pauseResume);
    onKey(window, Qt::Key_Left, [seekBy = actions.seekBy] { seekBy(-kSeekStepSeconds); });
    onKey(window, Qt::Key_Right, [seekBy = actions.seekBy] { seekBy(kSeekStepSeconds); });
    onKey(window, Qt::Key_Up, [volumeBy = actions.volumeBy] { volumeBy(kVolumeStepPercent); });
    onKey(window, Qt::Key_Down, [volumeBy = actions.volumeBy] { volumeBy(-kVolumeStepPercent); });
}
