// The main bar on the offscreen platform: Play, Exit, the mode, the position, keys,
// tooltips, menus and start-up play.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QTest>

#include "app/widgets/dialog_units.h"
#include "app/widgets/window_position.h"
#include "main_bar_fakes.h"

namespace {

std::string text(const QComboBox* combo) {
    return combo->currentText().toStdString();
}

void settle() {
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

TEST(MainBarPlay, PushesTheEditTextAndHandsItOver) {
    FakeHost host("[FolderHistory]\nDir0=/music/old\n");
    ScriptedDialogs* dialogs = nullptr;
    auto bar = makeBar(host, dialogs);
    QComboBox* combo = bar->currentComboBox();
    ASSERT_EQ(text(combo), "/music/old");

    combo->setEditText(QStringLiteral("/music/new"));
    EXPECT_TRUE(bar->command(MainBar::PlayId));

    ASSERT_EQ(host.handOvers.size(), 1u);
    EXPECT_EQ(host.handOvers[0].selection, "/music/new");
    EXPECT_EQ(host.handOvers[0].mode, Folder);
    EXPECT_EQ(bar->history(Folder).entries(),
              (std::vector<std::string>{"/music/new", "/music/old"}));
    EXPECT_EQ(combo->count(), 2);
    EXPECT_EQ(text(combo), "/music/new");
}

TEST(MainBarPlay, AnEntryThatIsNotUtf8PlaysWithItsOwnBytesAndStaysOneEntry) {
    FakeHost host("[FolderHistory]\nDir0=/m/a\xFF\nDir1=/m/a\xFE\n");
    ScriptedDialogs* dialogs = nullptr;
    auto bar = makeBar(host, dialogs);
    bar->command(MainBar::PlayId);
    bar->currentComboBox()->setCurrentIndex(1);  // looks the same as entry 0
    bar->command(MainBar::PlayId);
    bar->command(MainBar::PlayId);
    ASSERT_EQ(host.handOvers.size(), 3u);
    EXPECT_EQ(host.handOvers[0].selection, "/m/a\xFF");
    EXPECT_EQ(host.handOvers[1].selection, "/m/a\xFE");
    EXPECT_EQ(host.handOvers[2].selection, "/m/a\xFE");
    EXPECT_EQ(bar->history(Folder).entries(), (std::vector<std::string>{"/m/a\xFE", "/m/a\xFF"}));
}

TEST(MainBarPlay, AnEmptyTextIsPushedAndPlayedToo) {
    FakeHost host("[App]\nListType=1\n[FileHistory]\nDir0=/a.wav|\n");
    ScriptedDialogs* dialogs = nullptr;
    auto bar = makeBar(host, dialogs);
    bar->currentComboBox()->setEditText(QString());
    bar->command(MainBar::PlayId);
    ASSERT_EQ(host.handOvers.size(), 1u);
    EXPECT_EQ(host.handOvers[0].selection, "");
    EXPECT_EQ(host.handOvers[0].mode, File);
    EXPECT_EQ(bar->history(File).entries(), (std::vector<std::string>{"", "/a.wav|"}));
}

TEST(MainBarKeys, EnterPlaysTheTypedTextUnchangedAndEscapeExits) {
    FakeHost host("[FolderHistory]\nDir0=/music\n");
    ScriptedDialogs* dialogs = nullptr;
    auto bar = makeBar(host, dialogs);
    QLineEdit* edit = bar->currentComboBox()->lineEdit();
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("/MUS"));
    EXPECT_EQ(edit->text(), QStringLiteral("/MUS")) << "typing never completes on its own";
    QTest::keyClicks(edit, QStringLiteral("IC"));
    QTest::keyClick(edit, Qt::Key_Return);
    ASSERT_EQ(host.handOvers.size(), 1u);
    // Equal to entry 0 but for letter case: another folder, which plays and is pushed.
    EXPECT_EQ(host.handOvers[0].selection, "/MUSIC");
    EXPECT_EQ(bar->history(Folder).entries(), (std::vector<std::string>{"/MUSIC", "/music"}));

    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_EQ(host.ends, 1);
}

TEST(MainBarKeys, EnterOnAFocusedButtonPressesThatButton) {
    FakeHost host;
    ScriptedDialogs* dialogs = nullptr;
    auto bar = makeBar(host, dialogs);
    bar->control(MainBar::ExitId)->setFocus();
    QTest::keyClick(bar.get(), Qt::Key_Return);
    EXPECT_EQ(host.ends, 1);
    EXPECT_TRUE(host.handOvers.empty());
}

TEST(MainBarExit, WritesHistoriesModeAndPlaceThenEndsTheProgram) {
    FakeHost host("[FolderHistory]\nDir0=/keep0\nDir3=/kept3\n");
    ScriptedDialogs* dialogs = nullptr;
    auto bar = makeBar(host, dialogs);
    bar->pushHistory("/new folder");
    bar->command(MainBar::ID_MODE_SONGLIST);
    bar->pushHistory("/lists/a.lst");
    bar->move(120, 90);
    settle();
    bar->showMinimized();  // hidden in the tray: Exit brings it back first
    settle();

    bar->command(MainBar::ExitId);
    EXPECT_EQ(host.ends, 1);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_FALSE(bar->isMinimized());

    IniStore reread(host.iniPath);
    EXPECT_EQ(reread.getString("FolderHistory", "Dir0", "-"), "/new folder");
    EXPECT_EQ(reread.getString("FolderHistory", "Dir1", "-"), "/keep0");
    EXPECT_EQ(reread.getString("FolderHistory", "Dir2", "-"), "/kept3");
    EXPECT_EQ(reread.getString("FolderHistory", "Dir3", "-"), "/kept3");
    EXPECT_EQ(reread.getString("SongListHistory", "Dir0", "-"), "/lists/a.lst");
    EXPECT_EQ(reread.getString("FileHistory", "Dir0", "-"), "-");
    EXPECT_EQ(reread.getInt("App", "ListType", -1), SongListFile);
    EXPECT_EQ(reread.getInt("App", "left", -1), 120);
    EXPECT_EQ(reread.getInt("App", "top", -1), 90);
    EXPECT_EQ(reread.getInt("App", "ICON", -1), 1);
}

TEST(MainBarExit, ClosingTheWindowIsExit) {
    FakeHost host;
    ScriptedDialogs* dialogs = nullptr;
    auto bar = makeBar(host, dialogs);
    bar->close();
    EXPECT_EQ(host.ends, 1);
    bar->command(MainBar::ExitId);
    EXPECT_EQ(host.ends, 1) << "Exit runs once";
}

TEST(MainBarState, AStoredListTypeOutsideTheThreeReadsAsFolder) {
    for (const char* stored : {"7", "-1", "x"}) {
        FakeHost host(std::string("[App]\nListType=") + stored + "\n");
        ScriptedDialogs* dialogs = nullptr;
        auto bar = makeBar(host, dialogs);
        EXPECT_EQ(bar->mode(), Folder) << stored;
        EXPECT_TRUE(bar->comboBox(Folder)->isVisible());
        EXPECT_FALSE(bar->comboBox(File)->isVisible());
        EXPECT_FALSE(bar->comboBox(SongListFile)->isVisible());
        EXPECT_EQ(bar->control(MainBar::ModeButtonId)->property("text").toString(),
                  QStringLiteral("&Folder"));
        bar->command(MainBar::ExitId);
        EXPECT_EQ(IniStore(host.iniPath).getInt("App", "ListType", -1), 0) << stored;
    }
    EXPECT_EQ(listTypeFromIni(2), SongListFile);
}

TEST(MainBarState, StoredModeShowsItsComboBoxAndHistory) {
    FakeHost host("[App]\nListType=1\n[FileHistory]\nDir0=/a.mp3|\nDir2=/b.mp3|\n");
    ScriptedDialogs* dialogs = nullptr;
    auto bar = makeBar(host, dialogs);
    EXPECT_EQ(bar->mode(), File);
    EXPECT_TRUE(bar->comboBox(File)->isVisible());
    EXPECT_FALSE(bar->comboBox(Folder)->isVisible());
    EXPECT_EQ(bar->comboBox(File)->count(), 2);
    EXPECT_EQ(text(bar->comboBox(File)), "/a.mp3|");
    EXPECT_EQ(bar->control(MainBar::ModeButtonId)->property("text").toString(),
              QStringLiteral("F&ile"));
}

TEST(MainBarState, ThePositionComesFromTheIniWhenItIsOnAScreen) {
    FakeHost host("[App]\nleft=150\ntop=100\n");
    ScriptedDialogs* dialogs = nullptr;
    auto bar = makeBar(host, dialogs);
    EXPECT_EQ(bar->pos(), QPoint(150, 100));

    FakeHost lost("[App]\nleft=-30000\ntop=100\n");
    auto away = makeBar(lost, dialogs);
    EXPECT_NE(away->pos().x(), -30000) << "a place on no screen would be out of reach";
}

TEST(MainBarState, APositionNearTheIntLimitIsRefusedWithoutOverflow) {
    // The bar's right and bottom edges would pass the int limit.
    for (const char* ini : {"[App]\nleft=2147483500\ntop=2147483600\n",
                            "[App]\nleft=-2147483648\ntop=99999999999\n"}) {
        FakeHost host(ini);
        ScriptedDialogs* dialogs = nullptr;
        auto bar = makeBar(host, dialogs);
        bar->show();
        settle();
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        EXPECT_TRUE(screen.intersects(bar->frameGeometry())) << ini;
    }
}

TEST(MainBarWindow, HasTheTemplatesCaptionSizeAndControls) {
    FakeHost host;
    ScriptedDialogs* dialogs = nullptr;
    auto bar = makeBar(host, dialogs);
    EXPECT_EQ(bar->windowTitle(), QStringLiteral("tavik Vornel"));
    const DialogUnits units(bar->font());
    EXPECT_EQ(bar->size(), QSize(units.x(267), units.y(19)));
    EXPECT_TRUE(bar->acceptDrops());
    for (ListType mode : {Folder, File, SongListFile}) {
        QComboBox* combo = bar->comboBox(mode);
        EXPECT_TRUE(combo->isEditable());
        EXPECT_EQ(combo->insertPolicy(), QComboBox::NoInsert);
        EXPECT_EQ(combo->completer(), nullptr);
        EXPECT_EQ(combo->view()->minimumWidth(), 400);
        EXPECT_EQ(combo, bar->control(501 + mode));
    }
    EXPECT_EQ(bar->control(MainBar::BrowseId)->property("text").toString(), "...");
    EXPECT_EQ(bar->control(MainBar::ExitId)->property("text").toString(), "&Exit");
    EXPECT_EQ(bar->control(MainBar::PlayId)->property("text").toString(), "&Play");
}

TEST(MainBarToolTips, ComboBoxesShowTheCurrentTextAndButtonsTheirStrings) {
    FakeHost host("[FolderHistory]\nDir0=/a/very/long/path/あいう\n");
    ScriptedDialogs* dialogs = nullptr;
    auto bar = makeBar(host, dialogs);
    for (int id : {501, 502, 503})
        EXPECT_EQ(bar->toolTipText(id), QStringLiteral("/a/very/long/path/あいう")) << id;
    EXPECT_EQ(bar->toolTipText(1), QStringLiteral("再生開始"));
    EXPECT_EQ(bar->toolTipText(2), QStringLiteral("アプリケーションの終了"));
    EXPECT_EQ(bar->toolTipText(3), QStringLiteral("フォルダ／ファイル／曲目リストの選択"));
    EXPECT_EQ(bar->toolTipText(1002), QStringLiteral("フォルダ／パスの参照"));
    EXPECT_TRUE(bar->toolTipText(0).isEmpty());

    // A selection of many files is cut to its first kilobyte, never inside a character.
    std::string many;
    while (many.size() < 3000)
        many += "/曲/song.mp3|";
    bar->currentComboBox()->setEditText(QString::fromStdString(many));
    const std::string tip = bar->toolTipText(501).toStdString();
    EXPECT_LE(tip.size(), 1023u);
    EXPECT_GT(tip.size(), 1000u);
    EXPECT_EQ(many.compare(0, tip.size(), tip), 0);
    EXPECT_EQ(QString::fromStdString(tip).toStdString(), tip) << "valid UTF-8";
}

TEST(MainBarModeMenu, OffersTheThreeModesAndSwitches) {
    FakeHost host("[FolderHistory]\nDir0=/f\n[FileHistory]\nDir0=/x.wav|\n");
    ScriptedDialogs* dialogs = nullptr;
    auto bar = makeBar(host, dialogs);
    dialogs->menuChoice = MainBar::ID_MODE_FILE;
    bar->command(MainBar::ModeButtonId);

    ASSERT_EQ(dialogs->menus.size(), 1u);
    const auto& items = dialogs->menus[0];
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].text, "&Folder");
    EXPECT_EQ(items[1].text, "F&ile");
    EXPECT_EQ(items[2].text, "&SongList");
    EXPECT_EQ(items[0].id, 401);
    EXPECT_EQ(items[2].id, 403);
    EXPECT_TRUE(items[0].checked);
    EXPECT_FALSE(items[1].checked);
    EXPECT_EQ(dialogs->menuAnchors[0], bar->modeMenuAnchor());
    const QWidget* modeButton = bar->control(MainBar::ModeButtonId);
    EXPECT_EQ(bar->modeMenuAnchor(), modeButton->mapToGlobal(QPoint(0, modeButton->height())));

    EXPECT_EQ(bar->mode(), File);
    EXPECT_TRUE(bar->comboBox(File)->isVisible());
    EXPECT_FALSE(bar->comboBox(Folder)->isVisible());
    EXPECT_EQ(modeButton->property("text").toString(), "F&ile");
    EXPECT_TRUE(bar->comboBox(File)->hasFocus() || QApplication::focusWidget() == nullptr ||
                bar->comboBox(File)->isAncestorOf(QApplication::focusWidget()));
    bar->command(MainBar::PlayId);
    EXPECT_EQ(host.handOvers.back().selection, "/x.wav|");
    EXPECT_EQ(host.handOvers.back().mode, File);
}

TEST(MainBarModeMenu, ChoosingTheCurrentModeOrNothingChangesNothing) {
    FakeHost host("[App]\nListType=2\n[SongListHistory]\nDir0=/l.lst\n");
    ScriptedDialogs* dialogs = nullptr;
    auto bar = makeBar(host, dialogs);
    bar->currentComboBox()->setEditText(QStringLiteral("typed"));
    for (int choice : {int(MainBar::ID_MODE_SONGLIST), 0}) {
        dialogs->menuChoice = choice;
        bar->command(MainBar::ModeButtonId);
        EXPECT_EQ(bar->mode(), SongListFile);
        EXPECT_TRUE(bar->comboBox(SongListFile)->isVisible());
        EXPECT_FALSE(bar->comboBox(Folder)->isVisible());
        EXPECT_EQ(text(bar->currentComboBox()), "typed");
        EXPECT_EQ(bar->control(3)->property("text").toString(), "&SongList");
    }
    EXPECT_TRUE(dialogs->menus.back()[2].checked);
}

TEST(MainBarMenus, TheBarsMenuAndItsContextMenu) {
    FakeHost host;
    ScriptedDialogs* dialogs = nullptr;
    auto bar = makeBar(host, dialogs);
    QMenu menu;
    bar->fillMenu(menu);
    const auto items = itemsOf(menu);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].text, "Settings...");
    EXPECT_EQ(items[0].id, 32772);
    EXPECT_EQ(items[1].id, 0);
    EXPECT_EQ(items[2].text, "exit");
    EXPECT_EQ(items[2].id, 2);

    // The context menu adds the about item, which has no window menu to go to.
    QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(5, 5),
                              bar->mapToGlobal(QPoint(5, 5)));
    dialogs->menuChoice = MainBar::ID_SETTINGS;
    QApplication::sendEvent(bar.get(), &request);
    ASSERT_EQ(dialogs->menus.size(), 1u);
    const auto& context = dialogs->menus[0];
    ASSERT_EQ(context.size(), 5u);
    EXPECT_EQ(context[3].id, 0);
    EXPECT_EQ(context[4].text, QStringLiteral("tavik Vornel のﾊﾞｰｼﾞｮﾝ情報(&A)..."));
    EXPECT_EQ(context[4].id, 16);
    EXPECT_EQ(dialogs->menuAnchors[0], bar->mapToGlobal(QPoint(5, 5)));
    settle();  // the chosen command arrives after the menu has closed
    EXPECT_EQ(host.settingsPages, std::vector<int>{0});

    // "exit" from a menu is Exit.
    QMenu tray;
    bar->fillMenu(tray);
    tray.actions().at(2)->trigger();
    EXPECT_EQ(host.ends, 0);
    settle();
    EXPECT_EQ(host.ends, 1);
}

TEST(MainBarStart, StartAndPlayPlaysTheLatestEntryOnceStartUpHasFinished) {
    FakeHost host("[App]\nListType=2\n[SongListHistory]\nDir0=/l.lst\n");
    host.appSettings.other.isStartAndPlay = true;
    ScriptedDialogs* dialogs = nullptr;
    auto bar = makeBar(host, dialogs);
    EXPECT_TRUE(host.handOvers.empty()) << "Play waits for the event loop";
    EXPECT_TRUE(bar->isPlayQueued());
    settle();
    ASSERT_EQ(host.handOvers.size(), 1u);
    EXPECT_EQ(host.handOvers[0].selection, "/l.lst");
    EXPECT_EQ(host.handOvers[0].mode, SongListFile);
}

TEST(MainBarStart, StartAndPlayWithAnEmptyHistoryPlaysAnEmptyText) {
    FakeHost host;
    host.appSettings.other.isStartAndPlay = true;
    ScriptedDialogs* dialogs = nullptr;
    auto bar = makeBar(host, dialogs);
    settle();
    ASSERT_EQ(host.handOvers.size(), 1u);
    EXPECT_EQ(host.handOvers[0].selection, "");
}

TEST(MainBarStart, ACommandLineSelectionIsPushedAndPlayedOnce) {
    FakeHost host("[FolderHistory]\nDir0=/f\n");
    host.appSettings.other.isStartAndPlay = true;
    ScriptedDialogs* dialogs = nullptr;
    auto bar = makeBar(host, dialogs);
    bar->startWithSelection(File, "/a.wav|/b.wav|");
    EXPECT_EQ(bar->mode(), File);
    settle();
    ASSERT_EQ(host.handOvers.size(), 1u) << "start-and-play and the command line play once";
    EXPECT_EQ(host.handOvers[0].selection, "/a.wav|/b.wav|");
    EXPECT_EQ(host.handOvers[0].mode, File);
}

TEST(MainBarTray, MinimizingHidesTheBarOnlyWhileTheTrayIsInUse) {
    struct Case {
        bool trayAvailable;
        bool isnoTaskTray;
        bool hidden;
    };
    for (const Case c :
         {Case{true, false, true}, Case{true, true, false}, Case{false, false, false}}) {
        FakeHost host;
        host.tray = c.trayAvailable;
        host.appSettings.other.isnoTaskTray = c.isnoTaskTray;
        ScriptedDialogs* dialogs = nullptr;
        auto bar = makeBar(host, dialogs);
        settle();
        bar->showMinimized();
        settle();
        EXPECT_EQ(bar->isHidden(), c.hidden) << c.trayAvailable << c.isnoTaskTray;
    }
}

TEST(WindowPosition, TakePositionMovesTheTargetKeepingItsSize) {
    QWidget source;
    source.setGeometry(200, 150, 300, 40);
    source.show();
    QWidget target;
    target.setGeometry(10, 10, 123, 45);
    target.show();
    settle();
    takePosition(source, target);
    EXPECT_EQ(target.pos(), source.pos());
    EXPECT_EQ(target.size(), QSize(123, 45));

    handScreenOver(target, source);
    EXPECT_TRUE(source.isVisible());
    EXPECT_FALSE(target.isVisible());
    EXPECT_EQ(source.pos(), target.pos());
}

}  // namespace
