// A whole session in the window with the real media graph and generated songs: the songs
// play one after another to their end and the screen goes back to the main bar.
#include "app/core/app_settings.h"
#include "playback/core/play_sequencer.h"
#include "playback/qt/player_window.h"
#include "recording_host.h"
#include "songlist/core/song_list.h"
#include "support/temp_dir.h"
#include "support/test_media.h"

#include <QTest>

#include <gtest/gtest.h>

namespace pwtest {
namespace {

TEST(PlayerWindowMedia, PlaysAGeneratedFolderToTheEnd) {
    testsupport::TempDir dir;
    testsupport::makeWav(dir.path(), "one.wav", 1.0, {"Artist", "First", ""});
    testsupport::makeWav(dir.path(), "two.wav", 1.0, {}, 660);
    RecordingHost host;
    PlayerWindow window(host);
    window.show();
    ASSERT_EQ(window.startSession(dir.path(), Folder), 0);

    ASSERT_TRUE(QTest::qWaitFor([&] { return window.sequencer().currentIndex() == 0; }, 10000));
    // The folder's songs come in the order the file system lists them.
    const QString title = window.windowTitle();
    EXPECT_TRUE(title == "<Artist - First> Playing .." ||
                title == "<" + QString::fromStdString(dir.file("two.wav")) + "> Playing ..")
        << title.toStdString();
    EXPECT_EQ(window.sequencer().totalTimeText(), "/00:01");
    // The first song plays as soon as it is listed; the search goes on meanwhile.
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.songList().count() == 2; }, 10000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.sequencer().currentIndex() == 1; }, 10000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.handBacks == 1; }, 10000));
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.sequencer().inSession());
    EXPECT_EQ(host.trayTips.back(), "tavik vorn");
    EXPECT_EQ(host.exitsPosted, 0);
}

}  // namespace
}  // namespace pwtest
