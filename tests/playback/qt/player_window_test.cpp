// The player window as the user sees it: slider, time text, stop mark, menus, tooltips
// and the song list view's pick.
#include <QAction>
#include <QMenu>
#include <QMouseEvent>
#include <QTableView>

#include "app/qt/app_language.h"
#include "app/widgets/dialog_units.h"
#include "app/widgets/flat_button.h"
#include "playback/core/sequencer_timers.h"
#include "playback/qt/position_slider.h"
#include "playback/qt/window_timers.h"
#include "player_window_fixture.h"
#include "songlist/core/song_list.h"
#include "songlist/qt/song_list_view.h"
#include "support/dialog_layout.h"

namespace pwtest {
namespace {

using namespace player_command;

// The ids of a menu's items in order, 0 for a separator; greyed ids as negatives.
std::vector<int> itemsOf(QMenu& menu) {
    std::vector<int> ids;
    for (QAction* action : menu.actions()) {
        const int id = action->isSeparator() ? 0 : action->data().toInt();
        ids.push_back(action->isEnabled() ? id : -id);
    }
    return ids;
}

QString textOf(QMenu& menu, int id) {
    for (QAction* action : menu.actions())
        if (!action->isSeparator() && action->data().toInt() == id)
            return action->text();
    return {};
}

void sendMouse(QWidget& widget, QEvent::Type type, int x, Qt::MouseButtons buttons) {
    const QPointF at(x, widget.height() - 8);
    QMouseEvent event(type, at, widget.mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

TEST_F(PlayerWindowTest, StartsWithPlayerTitleAndSearchingText) {
    catalogue.add("/songs/a.mp3");
    catalogue.gate("/songs/a.mp3");  // the search can't deliver a song yet
    ASSERT_EQ(window->startSession("/songs/a.mp3|", File), 0);
    EXPECT_EQ(window->windowTitle(), "Player");
    EXPECT_EQ(window->slider().sliderText(), QString::fromUtf8("検索中..."));
    EXPECT_EQ(window->slider().timeText(), "");
    EXPECT_TRUE(window->timers().isRunning(TimerId::PositionTimer));
    EXPECT_EQ(window->timers().period(TimerId::AdvanceTimer), 500);
    // A tick while the search still runs.
    window->onTimer(TimerId::AdvanceTimer);
    EXPECT_EQ(window->slider().sliderText(), QString::fromUtf8("検索中....."));
    catalogue.releaseAll();
}

TEST_F(PlayerWindowTest, PositionTickMovesSliderAndTimeText) {
    startPlaying(songs({"/songs/long.mp3"}, lasting(296, "Artist", "Title")), 1);
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8("<Artist - Title> Playing .."));
    EXPECT_EQ(window->slider().sliderText(), "Artist - Title");
    EXPECT_EQ(window->slider().timeText(), "00:00/04:56");

    player->position = 83;
    window->onTimer(TimerId::PositionTimer);
    EXPECT_EQ(window->slider().value(), 28);
    EXPECT_EQ(window->slider().selection(), qMakePair(0, 28));
    EXPECT_EQ(window->slider().timeText(), "01:23/04:56");
}

TEST_F(PlayerWindowTest, DraggingTheThumbSeeksEveryStep) {
    startPlaying(songs({"/songs/long.mp3"}, lasting(296)), 1);
    window->show();
    PositionSlider& slider = window->slider();
    const int from = slider.thumbRect(0).center().x();
    const int to = slider.thumbRect(50).center().x();
    sendMouse(slider, QEvent::MouseButtonPress, from, Qt::LeftButton);
    sendMouse(slider, QEvent::MouseMove, (from + to) / 2, Qt::LeftButton);
    sendMouse(slider, QEvent::MouseMove, to, Qt::LeftButton);
    sendMouse(slider, QEvent::MouseButtonRelease, to, Qt::NoButton);
    ASSERT_GE(player->seeks.size(), 3u);  // a seek for each drag step and the release
    EXPECT_DOUBLE_EQ(player->seeks.back(), 148.0);
    EXPECT_EQ(slider.value(), 50);

    // A position tick during a drag leaves the thumb where the user holds it.
    sendMouse(slider, QEvent::MouseButtonPress, to, Qt::LeftButton);
    player->position = 10;
    window->onTimer(TimerId::PositionTimer);
    EXPECT_EQ(slider.value(), 50);
    sendMouse(slider, QEvent::MouseButtonRelease, to, Qt::NoButton);
}

TEST_F(PlayerWindowTest, StopAfterSongShowsTheMarkUntilTheNextSession) {
    const std::string selection = songs({"/songs/a.mp3"});
    startPlaying(selection, 1);
    EXPECT_FALSE(window->slider().stopMark());
    EXPECT_TRUE(window->command(ID_STOP_AFTER_SONG));
    EXPECT_TRUE(window->slider().stopMark());
    player->finish();
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.handBacks == 1; }, 2000));
    EXPECT_FALSE(window->isVisible());
    ASSERT_EQ(window->startSession(selection, File), 0);
    EXPECT_FALSE(window->slider().stopMark());
    catalogue.releaseAll();
}

TEST_F(PlayerWindowTest, MenuBeforeTheFirstSongOffersPauseSettingsAndStop) {
    QMenu menu;
    window->fillMenu(menu);
    EXPECT_EQ(itemsOf(menu), (std::vector<int>{ID_PAUSE_RESUME, 0, ID_SETTINGS, ID_STOP_PLAYING}));
    EXPECT_EQ(textOf(menu, ID_PAUSE_RESUME), QString::fromUtf8("再生再開"));
    EXPECT_EQ(textOf(menu, ID_SETTINGS), "Settings ...");
    EXPECT_EQ(textOf(menu, ID_STOP_PLAYING), QString::fromUtf8("再生停止"));

    QMenu file;
    window->fillFileMenu(file);
    EXPECT_EQ(itemsOf(file), (std::vector<int>{ID_WRITE_LIST, ID_PAUSE_RESUME, 0, ID_SETTINGS,
                                               ID_STOP_PLAYING, ID_APP_EXIT}));
    EXPECT_EQ(textOf(file, ID_WRITE_LIST),
              QString::fromUtf8("現在のリストをファイルに書き出す ..."));
    EXPECT_EQ(textOf(file, ID_APP_EXIT), QString::fromUtf8("アプリケーションの終了"));

    QMenu context;
    window->fillContextMenu(context);
    EXPECT_EQ(itemsOf(context).back(), ID_ABOUT_BOX);
    EXPECT_EQ(textOf(context, ID_ABOUT_BOX),
              QString::fromUtf8("tavik Vornel のﾊﾞｰｼﾞｮﾝ情報(&A)..."));
}

// The English catalogue, as --language en installs it: the menus and the slider's own text
// are English; a song's description stays as it is.
TEST_F(PlayerWindowTest, InEnglishTheMenusAndTheSearchTextAreEnglish) {
    ASSERT_TRUE(installLanguage("en"));
    QMenu file;
    window->fillFileMenu(file);
    EXPECT_EQ(textOf(file, ID_PAUSE_RESUME), "Resume");
    EXPECT_EQ(textOf(file, ID_WRITE_LIST), "Save the current list to a file...");
    EXPECT_EQ(textOf(file, ID_STOP_PLAYING), "Stop playing");
    EXPECT_EQ(textOf(file, ID_APP_EXIT), "Quit the application");
    window->setSliderText(kSearchingText);
    EXPECT_EQ(window->slider().sliderText(), "Searching...");
    window->setSliderText("再生停止 - 作者");  // a song's description
    EXPECT_EQ(window->slider().sliderText(), QString::fromUtf8("再生停止 - 作者"));
    installLanguage("");
    window->setSliderText(kSearchingText);
    EXPECT_EQ(window->slider().sliderText(), QString::fromUtf8(kSearchingText));
}

TEST_F(PlayerWindowTest, MenuInOrderGreysNextAtTheLastSong) {
    startPlaying(songs({"/songs/a.mp3", "/songs/b.mp3"}), 2);
    QMenu first;
    window->fillMenu(first);
    // Previous is greyed on the first song: it would start nothing.
    EXPECT_EQ(itemsOf(first), (std::vector<int>{ID_PAUSE_RESUME, -ID_PREV_SONG, ID_NEXT_SONG,
                                                ID_RESTART_SONG, ID_REMOVE_SONG, ID_STOP_AFTER_SONG,
                                                ID_CHOOSE_SONG, 0, ID_SETTINGS, ID_STOP_PLAYING}));
    EXPECT_EQ(textOf(first, ID_PAUSE_RESUME), QString::fromUtf8("ポーズ"));
    EXPECT_EQ(textOf(first, ID_CHOOSE_SONG), QString::fromUtf8("選曲をする"));

    // The menu's own action carries the command to the window.
    for (QAction* action : first.actions())
        if (action->data().toInt() == ID_NEXT_SONG)
            action->trigger();
    ASSERT_EQ(window->sequencer().currentIndex(), 1);
    QMenu last;
    window->fillMenu(last);
    EXPECT_EQ(itemsOf(last)[2], -ID_NEXT_SONG);
    EXPECT_EQ(textOf(last, ID_NEXT_SONG), QString::fromUtf8("次の曲を選択する"));
}

// Random play over two songs, the search ended: the one song a session may play after the
// first is all, so Next is greyed; endless play offers it.
TEST_F(PlayerWindowTest, MenuInRandomPlayHasNoPreviousAndNextOnlyWhenASongWouldFollow) {
    host.settings_.play.isRandom = true;
    startPlaying(songs({"/songs/a.mp3", "/songs/b.mp3"}), 2);
    for (bool endless : {false, true}) {
        host.settings_.play.isEndless = endless;
        QMenu menu;
        window->fillMenu(menu);
        const std::vector<int> ids = itemsOf(menu);
        EXPECT_EQ(std::count(ids.begin(), ids.end(), ID_PREV_SONG), 0);
        EXPECT_EQ(ids[1], endless ? ID_NEXT_SONG : -ID_NEXT_SONG);
    }
}

TEST_F(PlayerWindowTest, SliderTooltipJoinsTextAndCurrentPath) {
    EXPECT_EQ(window->sliderToolTip(), "Slider2");
    const std::string path = "/songs/日本語の曲.mp3";
    startPlaying(songs({path}, lasting(200, "", "Song")), 1);
    EXPECT_EQ(window->sliderToolTip(), QString::fromUtf8((path + " - Song # " + path).c_str()));
    EXPECT_EQ(window->fileButton().toolTip(), QString::fromUtf8("クリックするとメニューが出る"));
}

TEST_F(PlayerWindowTest, SliderTooltipIsCutOnACharacterBoundary) {
    std::string path = "/";
    for (int i = 0; i < 3000; ++i)
        path += "曲";  // three bytes each: far past any sane tooltip
    startPlaying(songs({path}), 1);
    const QByteArray tip = window->sliderToolTip().toUtf8();
    EXPECT_LE(tip.size(), 4095);
    EXPECT_TRUE(tip.endsWith("曲"));
}

TEST_F(PlayerWindowTest, ListViewPickPlaysThatSong) {
    startPlaying(songs({"/songs/a.mp3", "/songs/b.mp3", "/songs/c.mp3"}), 3);
    window->show();
    EXPECT_TRUE(window->command(ID_CHOOSE_SONG));
    SongListView& view = window->songListView();
    ASSERT_TRUE(view.isVisible());
    EXPECT_EQ(view.pos(), window->frameGeometry().topLeft());
    EXPECT_EQ(view.table()->model()->rowCount(), 3);
    EXPECT_EQ(view.selectedIndex(), 0);

    view.table()->selectRow(2);
    QTest::keyClick(view.table(), Qt::Key_Return);
    EXPECT_FALSE(view.isVisible());
    // The pick arrives as a posted PlayIndex, after the current handler.
    EXPECT_EQ(window->sequencer().currentIndex(), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->sequencer().currentIndex() == 2; }, 2000));
    EXPECT_EQ(player->opened.back(), "/songs/c.mp3");
}

TEST_F(PlayerWindowTest, SongEndPlaysTheNextAndTheLastEndHandsBack) {
    startPlaying(songs({"/songs/a.mp3", "/songs/b.mp3"}), 2);
    EXPECT_EQ(host.trayTips.back(), "</songs/a.mp3> Playing ..");
    player->finish();
    // The next song starts with the posted PlayIndex.
    ASSERT_TRUE(QTest::qWaitFor([&] { return player->opened.size() == 2; }, 2000));
    player->finish();
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.handBacks == 1; }, 2000));
    EXPECT_EQ(host.trayTips.back(), "tavik vorn");
    EXPECT_FALSE(window->timers().isRunning(TimerId::PositionTimer));
    EXPECT_EQ(host.exitsPosted, 0);
}

TEST_F(PlayerWindowTest, CommandsReachTheHost) {
    window->show();
    EXPECT_TRUE(window->command(ID_SETTINGS));
    EXPECT_EQ(host.settingsPages, std::vector<int>{1});

    QTest::keyClick(window.get(), Qt::Key_Escape);  // stop
    EXPECT_EQ(host.handBacks, 1);
    EXPECT_FALSE(window->isVisible());

    EXPECT_TRUE(window->command(ID_APP_EXIT));
    EXPECT_EQ(host.handBacks, 2);
    EXPECT_EQ(host.exitsPosted, 1);

    window->show();
    window->close();  // the title bar's close button stops too
    EXPECT_EQ(host.handBacks, 3);
    EXPECT_FALSE(window->command(4711));
}

TEST_F(PlayerWindowTest, MinimiseHidesOnlyWhenTheTrayIsUsed) {
    host.tray = true;
    window->show();
    window->setWindowState(Qt::WindowMinimized);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); }, 2000));
    // Hidden as it is (resetting the state of a window being withdrawn leaves an empty
    // frame under a window manager); every way back is a showNormal.
    window->showNormal();
    EXPECT_FALSE(window->isMinimized());
    EXPECT_TRUE(window->isVisible());

    host.settings_.other.isnoTaskTray = true;
    window->show();
    window->setWindowState(Qt::WindowMinimized);
    QTest::qWait(50);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(PlayerWindowTest, LayoutFollowsTheDialogTemplate) {
    const DialogUnits units(window->font());
    EXPECT_EQ(window->size(), QSize(units.x(263), units.y(23)));
    testsupport::expectPlaces(units, {
                                         {"File", &window->fileButton(), 1, 2, 20, 18},
                                         {"slider", &window->slider(), 23, 2, 240, 20},
                                     });
    EXPECT_EQ(window->fileButton().text(), "&File");
    EXPECT_EQ(window->songListView().size(), window->size());
}

}  // namespace
}  // namespace pwtest
