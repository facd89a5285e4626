// Screenshots of the player window for the documentation: the window playing a generated
// folder, its file menu and the song list view. Run under a real X server (xvfb-run) with
// QT_QPA_PLATFORM=xcb and VORN_AUDIO_SINK set; writes the three PNG files into the folder
// given as the first argument.
#include <QApplication>
#include <QMenu>
#include <QScreen>
#include <QTest>
#include <cstdio>
#include <string>

#include "app/core/app_settings.h"
#include "app/gst/gst_init.h"
#include "playback/core/play_sequencer.h"
#include "playback/qt/player_window.h"
#include "recording_host.h"
#include "songlist/qt/song_list_view.h"
#include "support/temp_dir.h"
#include "support/test_media.h"

namespace {

bool save(const QPixmap& shot, const QString& path) {
    const bool saved = shot.save(path);
    std::fprintf(stderr, "%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    return saved;
}

QPixmap grabArea(const QRect& area) {
    return QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(),
                                                        area.height());
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ensureGstInitialised();
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");

    testsupport::TempDir dir;
    testsupport::makeWav(dir.path(), "01 morning.wav", 30,
                         {"Hanae Kito", "朝の光", "朝の光 - 組曲「四季」より"});
    testsupport::makeWav(dir.path(), "02 river.wav", 30,
                         {"Hanae Kito", "川のほとり", "川のほとり (live)"}, 550);
    testsupport::makeWav(dir.path(), "03 night.wav", 30, {"", "Night Train", "Night Train"}, 330);
    testsupport::makeWav(dir.path(), "04 untitled.wav", 30, {}, 660);

    pwtest::RecordingHost host;
    PlayerWindow window(host);
    window.move(40, 40);
    window.show();
    window.startSession(dir.path(), Folder);
    if (!QTest::qWaitFor([&] { return window.sequencer().currentIndex() >= 0; }, 15000)) {
        std::fprintf(stderr, "no song started\n");
        return 1;
    }
    QTest::qWait(5000);  // a few position ticks
    bool ok = save(window.grab(), out + "/player-window.png");

    QMenu menu(&window);
    window.fillFileMenu(menu);
    menu.popup(window.fileMenuAnchor());
    QTest::qWait(500);
    ok = save(grabArea(window.geometry().united(menu.geometry()).adjusted(-4, -4, 4, 4)),
              out + "/player-menu.png") &&
         ok;
    menu.hide();

    window.command(player_command::ID_CHOOSE_SONG);
    QTest::qWait(500);
    ok = save(grabArea(window.geometry()
                           .united(window.songListView().frameGeometry())
                           .adjusted(-4, -4, 4, 4)),
              out + "/player-list.png") &&
         ok;
    window.command(player_command::ID_STOP_PLAYING);
    return ok ? 0 : 1;
}
