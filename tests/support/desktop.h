#pragma once
// A real X desktop for one test: its own Xvfb on a display the server picks itself
// (-displayfd), openbox as the window manager and tint2 as the tray host, each waited for
// with a limit; programs started on it (the real vorn) and the tools that drive and read
// it (xdotool, xwininfo, xprop, import). Every process started here is ended by its PID
// when its object goes, also when a test fails half-way.
//
// Nothing here waits a fixed time to synchronise: every wait polls a condition under a
// generous limit, so a loaded machine only makes the tests slower.
#include <sys/types.h>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

using namespace std::chrono_literals;

// Polls `condition` every `every` until it holds or `limit` has passed; its last answer.
bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit = 30s,
               std::chrono::milliseconds every = 50ms);

// Environment changes for a child: a value sets the variable, nullopt removes it.
using EnvChanges = std::map<std::string, std::optional<std::string>>;

struct CommandResult {
    int status = -1;  // the exit status, or -1 when it did not end normally in time
    std::string out;  // what it wrote to its standard output
};

// Runs argv[0] (found on PATH) with its standard output captured and its standard error
// dropped; ended by its PID when it runs longer than `limit`.
CommandResult runCommand(const std::vector<std::string>& argv, const EnvChanges& env = {},
                         std::chrono::milliseconds limit = 20s);

// A child process, its standard output and error appended to `logPath` (or dropped when
// it is empty). The destructor ends it (SIGTERM, then SIGKILL) and reaps it.
class Process {
  public:
    Process(const std::vector<std::string>& argv, const EnvChanges& env,
            const std::string& logPath = {}, int extraFd = -1);
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    pid_t pid() const { return pid_; }
    // True until it has ended (and is reaped).
    bool running();
    // Waits at most `limit` for it to end by itself; its exit status, or -1 (still running,
    // or ended by a signal).
    int waitForExit(std::chrono::milliseconds limit = 30s);
    // Ends it now: SIGTERM, at most 5 s, then SIGKILL.
    void stop();

  private:
    pid_t pid_ = -1;
    bool reaped_ = false;
    int status_ = -1;
};

// What xwininfo and xprop tell about one client window.
struct WindowInfo {
    bool exists = false;
    bool viewable = false;  // Map State: IsViewable
    int x = 0, y = 0;       // the client area's top-left on the screen
    int width = 0, height = 0;
    // _NET_FRAME_EXTENTS left, right, top, bottom; empty when the window manager set none.
    std::vector<int> frame;
    std::vector<std::string> state;  // _NET_WM_STATE atoms
    bool hasState(const std::string& atom) const;
    // The frame's top-left: the client's less the extents (the client's when none).
    int frameX() const { return frame.size() == 4 ? x - frame[0] : x; }
    int frameY() const { return frame.size() == 4 ? y - frame[2] : y; }
};

class Desktop {
  public:
    static constexpr int kWidth = 1280;
    static constexpr int kHeight = 800;

    // Starts Xvfb, openbox and, with `withTray`, tint2; logs go to `logDir`. Throws
    // std::runtime_error when one of them does not come up within its limit.
    explicit Desktop(const std::string& logDir, bool withTray = true);
    ~Desktop();

    const std::string& display() const { return display_; }
    // The environment for a program on this desktop: DISPLAY, the xcb platform, no
    // session bus (so Qt's tray is the XEmbed one of the tray host).
    EnvChanges env() const;

    // The tray host; startTray waits until it owns _NET_SYSTEM_TRAY_S0, stopTray until
    // the selection is free again.
    void startTray();
    void stopTray();
    bool trayOwned() const;

    // A tool on this desktop (xdotool, xprop...): its output; throws when it fails and
    // `mustSucceed` is set.
    std::string tool(const std::vector<std::string>& argv, bool mustSucceed = true) const;

    // The windows of a process (by _NET_WM_PID, as xdotool finds them) whose title
    // (WM_NAME) matches the regular expression.
    std::vector<unsigned long> windowsOf(pid_t pid, const std::string& nameRegex = "") const;
    // The one such window that is viewable, or 0.
    unsigned long viewableWindowOf(pid_t pid, const std::string& nameRegex) const;
    WindowInfo info(unsigned long window) const;
    std::string name(unsigned long window) const;
    std::vector<unsigned long> clientList() const;
    bool inClientList(unsigned long window) const;
    // The window of `pid` that sits in the tray (embedded into the tray host), or 0.
    unsigned long trayIconOf(pid_t pid) const;
    // Where the tray icon stands: its centre on the screen.
    std::pair<int, int> centreOf(unsigned long window) const;

    // Saves the whole screen to `path` (import -window root).
    void screenshot(const std::string& path) const;

  private:
    std::string logDir_;
    std::string display_;
    std::unique_ptr<Process> xvfb_;
    std::unique_ptr<Process> wm_;
    std::unique_ptr<Process> tray_;
};

}  // namespace testsupport
