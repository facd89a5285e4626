// The real program on a real desktop: Xvfb, openbox and tint2 as the tray host, driven
// with xdotool and read with xwininfo and xprop. What offscreen tests can't see: frames,
// the window manager's placement, the task list, the tray, XDND drops, tooltips over an
// inactive window.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "support/desktop.h"
#include "support/temp_dir.h"
#include "support/test_media.h"

namespace {

using namespace testsupport;
using namespace std::chrono_literals;

constexpr const char* kBarName = "^tavik Vornel$";
constexpr const char* kPlayerName = "^(Player|<.*> (Playing|Pausing) \\.\\.)$";

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The value of `key` in `section` of an ini text, or nullopt.
std::optional<std::string> iniValue(const std::string& text, const std::string& section,
                                    const std::string& key) {
    std::stringstream lines(text);
    std::string line;
    bool inSection = false;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line.front() == '[') {
            inSection = line == "[" + section + "]";
            continue;
        }
        if (inSection && line.rfind(key + "=", 0) == 0)
            return line.substr(key.size() + 1);
    }
    return std::nullopt;
}

class DesktopTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* bin = std::getenv("VORN_BIN_DIR");
        ASSERT_NE(bin, nullptr);
        binDir = bin;
        ini = dir.file("tvorn.ini");
        media = dir.subdir("media");
    }

    void TearDown() override {
        if (HasFailure()) {
            if (desktop)
                desktop->screenshot(dir.file("failure.png"));
            std::cerr << "---- vorn's output\n" << readFile(dir.file("vorn.log"));
            if (const char* keep = std::getenv("VORN_DESKTOP_KEEP"); keep && *keep) {
                const std::string copy =
                    std::string(keep) + "/" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".png";
                runCommand({"cp", dir.file("failure.png"), copy});
            }
        }
        helper.reset();
        vorn.reset();
        desktop.reset();
    }

    void startDesktop(bool withTray = true) {
        desktop = std::make_unique<Desktop>(dir.path(), withTray);
    }

    void writeIni(const std::string& text) { std::ofstream(ini) << text; }
    std::string iniText() const { return readFile(ini); }

    void startVorn(const std::vector<std::string>& paths = {}) {
        std::vector<std::string> argv = {binDir + "/vorn", "--ini", ini};
        argv.insert(argv.end(), paths.begin(), paths.end());
        EnvChanges env = desktop->env();
        env["VORN_AUDIO_SINK"] = "fakesink sync=true";
        env["GST_PLUGIN_PATH"] = binDir;
        vorn = std::make_unique<Process>(argv, env, dir.file("vorn.log"));
    }

    void startDragSource(const std::vector<std::string>& files) {
        std::vector<std::string> argv = {binDir + "/../tests/desktop_drag_source"};
        argv.insert(argv.end(), files.begin(), files.end());
        helper = std::make_unique<Process>(argv, desktop->env(), dir.file("helper.log"));
        ASSERT_TRUE(waitUntil([&] { return helperWindow() != 0; })) << "no drag source window";
    }
    unsigned long helperWindow() const {
        const unsigned long window = desktop->viewableWindowOf(helper->pid(), "^drag source$");
        return window != 0 && desktop->info(window).frame.size() == 4 ? window : 0;
    }

    // The viewable window of vorn whose name matches, once the window manager has framed
    // it; 0 when there is none within the limit (or vorn has ended).
    unsigned long waitForWindow(const std::string& nameRegex,
                                std::chrono::milliseconds limit = 30s) {
        unsigned long found = 0;
        waitUntil(
            [&] {
                if (!vorn->running())
                    return true;
                const unsigned long window = desktop->viewableWindowOf(vorn->pid(), nameRegex);
                if (window != 0 && desktop->info(window).frame.size() == 4)
                    found = window;
                return found != 0;
            },
            limit, 100ms);
        return found;
    }
    unsigned long waitForBar() { return waitForWindow(kBarName); }

    // Every window of vorn, for failure messages.
    std::string windowsOfVorn() const {
        std::string text;
        for (unsigned long window : desktop->windowsOf(vorn->pid())) {
            const WindowInfo info = desktop->info(window);
            text += std::to_string(window) + " \"" + desktop->name(window) + "\" " +
                    (info.viewable ? "viewable " : "unmapped ") + std::to_string(info.width) + "x" +
                    std::to_string(info.height) + "+" + std::to_string(info.x) + "+" +
                    std::to_string(info.y) + (info.frame.empty() ? " no frame" : " framed") + "\n";
        }
        return text;
    }
    unsigned long waitForPlayer() { return waitForWindow(kPlayerName); }

    // Hidden to the tray: unmapped and out of the window manager's client (task) list.
    bool hiddenToTray(unsigned long window) const {
        const WindowInfo info = desktop->info(window);
        return !info.viewable && !desktop->inClientList(window);
    }
    bool shownAgain(unsigned long window) const {
        const WindowInfo info = desktop->info(window);
        return info.viewable && desktop->inClientList(window) &&
               !info.hasState("_NET_WM_STATE_HIDDEN");
    }

    unsigned long waitForTrayIcon() {
        unsigned long icon = 0;
        waitUntil([&] { return (icon = desktop->trayIconOf(vorn->pid())) != 0; }, 30s, 100ms);
        return icon;
    }

    // A desktop, the ini text `iniText`, and vorn playing one generated song of `seconds`;
    // returns the player window once it is framed (0 when it never shows).
    unsigned long startPlaying(const std::string& iniText, double seconds) {
        startDesktop();
        writeIni(iniText);
        startVorn({makeWav(media, "song.wav", seconds)});
        return waitForPlayer();
    }

    // vorn with its bar stored at 300,200, the bar then minimised to the tray. Returns the
    // bar and the tray icon; fails the test (fatally) when either step does not happen.
    std::pair<unsigned long, unsigned long> startHiddenInTray() {
        startDesktop();
        writeIni("[App]\nleft=300\ntop=200\n");
        startVorn();
        const unsigned long bar = waitForBar();
        EXPECT_NE(bar, 0u) << "no bar";
        desktop->tool({"xdotool", "windowminimize", std::to_string(bar)});
        EXPECT_TRUE(waitUntil([&] { return hiddenToTray(bar); }))
            << "the bar did not go to the tray";
        const unsigned long icon = waitForTrayIcon();
        EXPECT_NE(icon, 0u) << "no tray icon";
        if (bar == 0 || icon == 0)
            ADD_FAILURE() << windowsOfVorn();
        return {bar, icon};
    }
    void doubleClickAt(int x, int y) {
        desktop->tool({"xdotool", "mousemove", std::to_string(x), std::to_string(y), "click",
                       "--repeat", "2", "--delay", "80", "1"});
    }

    void key(unsigned long window, const std::string& keys) {
        desktop->tool({"xdotool", "windowactivate", "--sync", std::to_string(window)}, false);
        desktop->tool({"xdotool", "key", "--clearmodifiers", keys});
    }

    // Alt+E on the bar; vorn ends by itself with status 0.
    void exitThroughBar(unsigned long bar) {
        key(bar, "alt+e");
        ASSERT_EQ(vorn->waitForExit(30s), 0) << "vorn did not end through Exit";
    }

    // The stored position, as Exit wrote it.
    std::pair<int, int> storedPosition() const {
        const std::string text = iniText();
        return {std::atoi(iniValue(text, "App", "left").value_or("-99999").c_str()),
                std::atoi(iniValue(text, "App", "top").value_or("-99999").c_str())};
    }

    TempDir dir;
    std::string binDir;
    std::string ini;
    std::string media;
    std::unique_ptr<Desktop> desktop;
    std::unique_ptr<Process> vorn;
    std::unique_ptr<Process> helper;
};

// The settings sheet opened from the tray menu while no window is
// visible, then cancelled, must not end the program; Exit still saves everything.
TEST_F(DesktopTest, SettingsFromTheTrayWhileHiddenKeepsTheProgramRunning) {
    const auto [bar, icon] = startHiddenInTray();
    if (HasFailure())
        return;
    const auto [x, y] = desktop->centreOf(icon);
    desktop->tool({"xdotool", "mousemove", std::to_string(x), std::to_string(y), "click", "3"});
    // The menu grabs the keyboard: the first item is "Settings...".
    ASSERT_TRUE(waitUntil([&] {
        for (unsigned long window : desktop->windowsOf(vorn->pid())) {
            if (window != icon && window != bar && desktop->info(window).viewable)
                return true;
        }
        return false;
    })) << "the tray menu did not open";
    desktop->tool({"xdotool", "key", "Down", "Return"});
    unsigned long sheet = 0;
    ASSERT_TRUE(waitUntil([&] {
        for (unsigned long window : desktop->windowsOf(vorn->pid())) {
            const WindowInfo info = desktop->info(window);
            if (window != icon && window != bar && info.viewable && info.frame.size() == 4)
                sheet = window;
        }
        return sheet != 0;
    })) << "the settings sheet did not open";
    key(sheet, "Escape");
    ASSERT_TRUE(waitUntil([&] { return !vorn->running() || !desktop->info(sheet).viewable; }));

    // Still there: a double-click on the icon brings the bar back, and Exit saves.
    ASSERT_TRUE(vorn->running()) << "closing the settings sheet ended the program";
    doubleClickAt(x, y);
    ASSERT_TRUE(waitUntil([&] { return !vorn->running() || shownAgain(bar); }));
    ASSERT_TRUE(vorn->running()) << "the program ended";
    exitThroughBar(bar);
    EXPECT_EQ(storedPosition(), std::make_pair(300, 200)) << iniText();
    EXPECT_TRUE(iniValue(iniText(), "PlaySettings", "PlayTime").has_value()) << iniText();
}

// A first start (no stored position) that plays at once keeps both
// title bars on the screen and saves a position whose title bar is reachable.
TEST_F(DesktopTest, FirstStartThatPlaysAtOnceKeepsTheTitleBarsOnTheScreen) {
    const unsigned long player = startPlaying("[OhterSettings]\nisEndAndPlay=0\n", 1.5);
    ASSERT_NE(player, 0u);
    const WindowInfo during = desktop->info(player);
    EXPECT_GE(during.frameY(), 0) << "the player's title bar is above the screen";
    EXPECT_GE(during.frameX(), 0);
    // The session ends; the bar comes back where the player stood.
    unsigned long bar = 0;
    ASSERT_TRUE(waitUntil([&] {
        return (bar = desktop->viewableWindowOf(vorn->pid(), kBarName)) != 0 &&
               desktop->info(bar).frame.size() == 4;
    }));
    const WindowInfo after = desktop->info(bar);
    EXPECT_GE(after.frameY(), 0);
    EXPECT_EQ(after.frameX(), during.frameX());
    EXPECT_EQ(after.frameY(), during.frameY());
    exitThroughBar(bar);
    const auto [left, top] = storedPosition();
    EXPECT_GE(left, 0) << iniText();
    EXPECT_GE(top, 0) << iniText();
    EXPECT_EQ(left, after.frameX());
    EXPECT_EQ(top, after.frameY());
}

// The player's keys act whichever control has the focus: Space pauses (the title says so)
// and Down lowers the volume, which Exit keeps.
TEST_F(DesktopTest, PlayerKeysPauseAndLowerTheVolumeFromAnyControl) {
    const unsigned long player = startPlaying("[OhterSettings]\nisEndAndPlay=0\n", 60);
    ASSERT_NE(player, 0u);
    key(player, "Tab");  // from the file button to the slider
    key(player, "space");
    EXPECT_TRUE(waitUntil([&] {
        return desktop->name(player).find("Pausing") != std::string::npos;
    })) << desktop->name(player);
    key(player, "Down");
    key(player, "Down");
    key(player, "Escape");  // the session ends; the bar comes back
    const unsigned long bar = waitForBar();
    ASSERT_NE(bar, 0u);
    exitThroughBar(bar);
    EXPECT_EQ(iniValue(iniText(), "App", "Volume").value_or(""), "90") << iniText();
}

// A stored position whose title bar is off the screen is not taken.
TEST_F(DesktopTest, StoredPositionWithTheTitleBarOffTheScreenIsNotTaken) {
    startDesktop();
    writeIni("[App]\nleft=-1\ntop=-20\n");
    startVorn();
    const unsigned long bar = waitForBar();
    ASSERT_NE(bar, 0u);
    const WindowInfo info = desktop->info(bar);
    EXPECT_GE(info.frameY(), 0) << "the title bar is above the screen";
    EXPECT_GE(info.frameX(), 0);
}

// Five starts in a row leave the stored position as it was, with and
// without isEndAndPlay; the player window stands exactly where the bar stood.
class FiveStarts : public DesktopTest, public ::testing::WithParamInterface<bool> {};

TEST_P(FiveStarts, LeaveTheStoredPositionUnchanged) {
    const bool endAndPlay = GetParam();
    startDesktop();
    writeIni(std::string("[App]\nleft=300\ntop=200\n[OhterSettings]\nisEndAndPlay=") +
             (endAndPlay ? "1" : "0") + "\n");
    const std::string song = makeWav(media, "a.wav", 1.0);
    for (int start = 1; start <= 5; ++start) {
        SCOPED_TRACE("start " + std::to_string(start));
        startVorn({song});
        const unsigned long player = waitForPlayer();
        ASSERT_NE(player, 0u);
        const WindowInfo playing = desktop->info(player);
        EXPECT_EQ(playing.frameX(), 300);
        EXPECT_EQ(playing.frameY(), 200);
        if (endAndPlay) {
            ASSERT_EQ(vorn->waitForExit(60s), 0);
        } else {
            unsigned long bar = 0;
            ASSERT_TRUE(waitUntil([&] {
                return (bar = desktop->viewableWindowOf(vorn->pid(), kBarName)) != 0 &&
                       desktop->info(bar).frame.size() == 4;
            }));
            const WindowInfo back = desktop->info(bar);
            EXPECT_EQ(back.frameX(), 300);
            EXPECT_EQ(back.frameY(), 200);
            exitThroughBar(bar);
        }
        ASSERT_EQ(storedPosition(), std::make_pair(300, 200)) << iniText();
    }
}

INSTANTIATE_TEST_SUITE_P(Desktop, FiveStarts, ::testing::Values(false, true),
                         [](const auto& param) { return param.param ? "EndAndPlay" : "BarBack"; });

// Minimised to the tray, both windows are unmapped and out of the task
// list; the tray brings them back.
TEST_F(DesktopTest, MinimisedToTheTrayMeansUnmappedAndOutOfTheTaskList) {
    const unsigned long player = startPlaying("[App]\nleft=300\ntop=200\n", 60.0);
    ASSERT_NE(player, 0u);
    desktop->tool({"xdotool", "windowminimize", std::to_string(player)});
    ASSERT_TRUE(waitUntil([&] { return hiddenToTray(player); }))
        << "the player window is still mapped or in the task list";
    const unsigned long icon = waitForTrayIcon();
    ASSERT_NE(icon, 0u);
    // It stays hidden once the window manager is through with it.
    desktop->tool({"xdotool", "mousemove", "640", "400"});
    EXPECT_TRUE(hiddenToTray(player));
    EXPECT_EQ(readFile(dir.file("vorn.log")).find("setNetWmStateOnUnmappedWindow"),
              std::string::npos);

    const auto [x, y] = desktop->centreOf(icon);
    doubleClickAt(x, y);
    ASSERT_TRUE(waitUntil([&] { return shownAgain(player); })) << "the tray did not bring it back";
    const WindowInfo back = desktop->info(player);
    EXPECT_EQ(back.frameX(), 300);
    EXPECT_EQ(back.frameY(), 200);
}

TEST_F(DesktopTest, MainBarMinimisedToTheTrayIsUnmappedAndOutOfTheTaskList) {
    const auto [bar, icon] = startHiddenInTray();
    if (HasFailure())
        return;
    const auto [x, y] = desktop->centreOf(icon);
    doubleClickAt(x, y);
    ASSERT_TRUE(waitUntil([&] { return shownAgain(bar); }));
    exitThroughBar(bar);
    EXPECT_EQ(storedPosition(), std::make_pair(300, 200)) << iniText();
}

// A tray host that starts after vorn gets the icon.
TEST_F(DesktopTest, TrayHostThatStartsLaterGetsTheIcon) {
    startDesktop(/*withTray=*/false);
    startVorn();
    ASSERT_NE(waitForBar(), 0u);
    desktop->startTray();
    EXPECT_NE(waitForTrayIcon(), 0u) << "no icon in a tray that came after vorn";
}

// The tray host going away while the window is hidden in it shows the
// window again.
TEST_F(DesktopTest, TrayHostGoingAwayWhileHiddenShowsTheWindow) {
    startDesktop();
    startVorn();
    const unsigned long bar = waitForBar();
    ASSERT_NE(bar, 0u);
    ASSERT_NE(waitForTrayIcon(), 0u);
    desktop->tool({"xdotool", "windowminimize", std::to_string(bar)});
    ASSERT_TRUE(waitUntil([&] { return hiddenToTray(bar); }));
    desktop->stopTray();
    EXPECT_TRUE(waitUntil([&] { return shownAgain(bar); })) << "the bar is out of reach";
}

// A drop anywhere on the bar, the combo box's edit field included,
// follows the drop rules: in File mode the files, each followed by "|", become the first
// history entry.
TEST_F(DesktopTest, DropOnTheComboBoxEditFieldFollowsTheDropRules) {
    startDesktop();
    writeIni("[App]\nleft=100\ntop=100\nListType=1\n");
    const std::string a = makeWav(media, "a.wav", 0.2);
    const std::string b = makeWav(media, "b.wav", 0.2);
    startVorn();
    const unsigned long bar = waitForBar();
    ASSERT_NE(bar, 0u);
    startDragSource({a, b});
    const WindowInfo target = desktop->info(bar);
    const auto [sx, sy] = desktop->centreOf(helperWindow());
    // Into the middle of the combo box's edit field (the combo box spans 76..251 of 267
    // dialog units).
    const int tx = target.x + target.width * 60 / 100;
    const int ty = target.y + target.height / 2;
    desktop->tool(
        {"xdotool", "mousemove", std::to_string(sx), std::to_string(sy), "mousedown", "1"});
    for (int step = 1; step <= 10; ++step) {
        desktop->tool({"xdotool", "mousemove", std::to_string(sx + (tx - sx) * step / 10),
                       std::to_string(sy + (ty - sy) * step / 10)});
    }
    desktop->tool({"xdotool", "mousemove", std::to_string(tx + 1), std::to_string(ty)});
    desktop->tool({"xdotool", "mousemove", std::to_string(tx), std::to_string(ty)});
    desktop->tool({"xdotool", "mouseup", "1"});
    ASSERT_TRUE(waitUntil([&] {
        return readFile(dir.file("helper.log")).find("dropped") != std::string::npos;
    })) << "the drag did not end";
    exitThroughBar(bar);
    EXPECT_EQ(iniValue(iniText(), "FileHistory", "Dir0"), a + "|" + b + "|") << iniText();
}

// The song list is a tool window of the player window (no task-bar
// button of its own), tall enough for a useful number of rows and within the screen.
TEST_F(DesktopTest, SongListIsAToolWindowOfThePlayerWithUsefulRows) {
    startDesktop();
    writeIni("[App]\nleft=300\ntop=600\n");
    // Twelve songs of a minute each, small (8 kHz mono).
    for (int i = 0; i < 12; ++i) {
        runPipeline("audiotestsrc num-buffers=480 samplesperbuffer=1000 freq=" +
                        std::to_string(300 + 20 * i) +
                        " ! audio/x-raw,rate=8000,channels=1 ! wavenc ! filesink name=out",
                    media + "/song" + std::to_string(10 + i) + ".wav");
    }
    startVorn({media});
    const unsigned long player = waitForWindow("^<.*> Playing \\.\\.$");
    ASSERT_NE(player, 0u);
    const unsigned long icon = waitForTrayIcon();
    // The file menu ends with choose, a separator, settings, stop, exit: from the end up.
    key(player, "Return");
    ASSERT_TRUE(waitUntil([&] {
        for (unsigned long window : desktop->windowsOf(vorn->pid()))
            if (window != player && window != icon && desktop->info(window).viewable)
                return true;
        return false;
    })) << "the file menu did not open\n"
        << windowsOfVorn();
    std::cerr << windowsOfVorn();
    desktop->tool({"xdotool", "key", "Up", "Up", "Up", "Up", "Return"});
    unsigned long list = 0;
    ASSERT_TRUE(waitUntil([&] {
        for (unsigned long window : desktop->windowsOf(vorn->pid())) {
            const WindowInfo info = desktop->info(window);
            if (window != player && window != icon && info.viewable && !info.frame.empty())
                list = window;
        }
        return list != 0;
    })) << "the song list did not open\n"
        << windowsOfVorn();
    const WindowInfo info = desktop->info(list);
    const std::string transientFor =
        desktop->tool({"xprop", "-id", std::to_string(list), "WM_TRANSIENT_FOR"}, false);
    EXPECT_NE(transientFor.find("window id"), std::string::npos) << transientFor;
    const std::string type =
        desktop->tool({"xprop", "-id", std::to_string(list), "_NET_WM_WINDOW_TYPE"}, false);
    EXPECT_NE(type.find("_NET_WM_WINDOW_TYPE_UTILITY"), std::string::npos) << type;
    EXPECT_TRUE(info.hasState("_NET_WM_STATE_SKIP_TASKBAR") || !desktop->inClientList(list));
    // At least eight rows of a 9-point font, all of it on the screen.
    EXPECT_GE(info.height, 8 * 14) << "the list is " << info.height << " px high";
    EXPECT_GE(info.y, 0);
    EXPECT_LE(info.y + info.height, Desktop::kHeight);
}

// Tooltips show also while the player window is not the active one.
TEST_F(DesktopTest, PlayerTooltipShowsOverAnInactiveWindow) {
    const unsigned long player = startPlaying("[App]\nleft=300\ntop=200\n", 60.0);
    ASSERT_NE(player, 0u);
    startDragSource({});
    desktop->tool({"xdotool", "windowactivate", "--sync", std::to_string(helperWindow())}, false);
    const WindowInfo info = desktop->info(player);
    // Over the "&File" button, near the window's left end.
    const int x = info.x + 12, y = info.y + info.height / 2;
    desktop->tool({"xdotool", "mousemove", std::to_string(x + 2), std::to_string(y)});
    desktop->tool({"xdotool", "mousemove", std::to_string(x), std::to_string(y)});
    EXPECT_TRUE(waitUntil(
        [&] {
            for (unsigned long window : desktop->windowsOf(vorn->pid())) {
                if (window == player || !desktop->info(window).viewable)
                    continue;
                const std::string type = desktop->tool(
                    {"xprop", "-id", std::to_string(window), "_NET_WM_WINDOW_TYPE"}, false);
                if (type.find("TOOLTIP") != std::string::npos)
                    return true;
            }
            return false;
        },
        15s))
        << "no tooltip over the inactive player window";
}

// isStartAndIcon without a tray minimises the player window.
TEST_F(DesktopTest, StartAndIconWithoutATrayMinimisesThePlayer) {
    startDesktop(/*withTray=*/false);
    writeIni("[App]\nleft=300\ntop=200\n[PlaySettings]\nisStartAndIcon=1\n");
    const std::string song = makeWav(media, "long.wav", 60.0);
    startVorn({song});
    unsigned long player = 0;
    EXPECT_TRUE(waitUntil([&] {
        for (unsigned long window : desktop->windowsOf(vorn->pid(), kPlayerName)) {
            const WindowInfo info = desktop->info(window);
            if (info.hasState("_NET_WM_STATE_HIDDEN") && !info.viewable &&
                desktop->inClientList(window))
                player = window;
        }
        return player != 0;
    })) << "the player window was not minimised";
}

}  // namespace
