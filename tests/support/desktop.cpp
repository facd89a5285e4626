#include "support/desktop.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace testsupport {

namespace {

using Clock = std::chrono::steady_clock;

std::vector<std::string> environmentWith(const EnvChanges& changes) {
    std::map<std::string, std::string> vars;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text(*entry);
        const auto equals = text.find('=');
        if (equals != std::string::npos)
            vars[text.substr(0, equals)] = text.substr(equals + 1);
    }
    for (const auto& [name, value] : changes) {
        if (value)
            vars[name] = *value;
        else
            vars.erase(name);
    }
    std::vector<std::string> out;
    for (const auto& [name, value] : vars)
        out.push_back(name + "=" + value);
    return out;
}

std::vector<char*> pointers(std::vector<std::string>& texts) {
    std::vector<char*> out;
    for (std::string& text : texts)
        out.push_back(text.data());
    out.push_back(nullptr);
    return out;
}

// fork and exec with the given standard output and error (-1: /dev/null) and one extra
// descriptor kept open as itself.
pid_t spawn(const std::vector<std::string>& argv, const EnvChanges& env, int outFd, int errFd,
            int keepFd) {
    std::vector<std::string> args = argv;
    std::vector<std::string> envTexts = environmentWith(env);
    std::vector<char*> argp = pointers(args);
    std::vector<char*> envp = pointers(envTexts);
    const pid_t pid = fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        const int null = open("/dev/null", O_RDWR);
        dup2(null, 0);
        dup2(outFd >= 0 ? outFd : null, 1);
        dup2(errFd >= 0 ? errFd : null, 2);
        for (int fd = 3; fd < 1024; ++fd) {
            if (fd != keepFd)
                close(fd);
        }
        if (keepFd >= 0)
            fcntl(keepFd, F_SETFD, 0);
        execvpe(argp[0], argp.data(), envp.data());
        _exit(127);
    }
    return pid;
}

// Waits for `pid` at most until `deadline`; true (with its status) when it ended.
bool reapBy(pid_t pid, Clock::time_point deadline, int& status) {
    for (;;) {
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid || (done < 0 && errno == ECHILD))
            return true;
        if (Clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(10ms);
    }
}

std::vector<unsigned long> numbersAfterHash(const std::string& text) {
    std::vector<unsigned long> out;
    const auto hash = text.find('#');
    if (hash == std::string::npos)
        return out;
    std::stringstream rest(text.substr(hash + 1));
    std::string item;
    while (std::getline(rest, item, ',')) {
        try {
            out.push_back(std::stoul(item, nullptr, 0));
        } catch (...) {
        }
    }
    return out;
}

}  // namespace

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit,
               std::chrono::milliseconds every) {
    const auto deadline = Clock::now() + limit;
    for (;;) {
        if (condition())
            return true;
        if (Clock::now() >= deadline)
            return condition();
        std::this_thread::sleep_for(every);
    }
}

CommandResult runCommand(const std::vector<std::string>& argv, const EnvChanges& env,
                         std::chrono::milliseconds limit) {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    const pid_t pid = spawn(argv, env, pipeFds[1], -1, -1);
    close(pipeFds[1]);
    CommandResult result;
    const auto deadline = Clock::now() + limit;
    bool timedOut = false;
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            timedOut = true;
            break;
        }
        pollfd fd{pipeFds[0], POLLIN, 0};
        if (poll(&fd, 1, static_cast<int>(left.count())) <= 0)
            continue;
        char buffer[4096];
        const ssize_t got = read(pipeFds[0], buffer, sizeof buffer);
        if (got <= 0)
            break;
        result.out.append(buffer, static_cast<std::size_t>(got));
    }
    close(pipeFds[0]);
    int status = 0;
    if (timedOut || !reapBy(pid, deadline + 2s, status)) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        result.status = -1;
        return result;
    }
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

Process::Process(const std::vector<std::string>& argv, const EnvChanges& env,
                 const std::string& logPath, int extraFd) {
    int log = -1;
    if (!logPath.empty())
        log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    pid_ = spawn(argv, env, log, log, extraFd);
    if (log >= 0)
        close(log);
}

Process::~Process() {
    stop();
}

bool Process::running() {
    if (reaped_)
        return false;
    int status = 0;
    const pid_t done = waitpid(pid_, &status, WNOHANG);
    if (done == pid_) {
        reaped_ = true;
        status_ = status;
    }
    return !reaped_;
}

int Process::waitForExit(std::chrono::milliseconds limit) {
    waitUntil([this] { return !running(); }, limit, 20ms);
    if (!reaped_ || !WIFEXITED(status_))
        return -1;
    return WEXITSTATUS(status_);
}

void Process::stop() {
    if (pid_ <= 0 || !running())
        return;
    kill(pid_, SIGTERM);
    if (waitUntil([this] { return !running(); }, 5s, 20ms))
        return;
    kill(pid_, SIGKILL);
    int status = 0;
    waitpid(pid_, &status, 0);
    reaped_ = true;
    status_ = status;
}

bool WindowInfo::hasState(const std::string& atom) const {
    for (const std::string& item : state) {
        if (item == atom)
            return true;
    }
    return false;
}

Desktop::Desktop(const std::string& logDir, bool withTray) : logDir_(logDir) {
    // The server picks a free display itself and writes its number to our pipe.
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    xvfb_ = std::make_unique<Process>(
        std::vector<std::string>{"Xvfb", "-displayfd", std::to_string(pipeFds[1]), "-screen", "0",
                                 std::to_string(kWidth) + "x" + std::to_string(kHeight) + "x24",
                                 "-nolisten", "tcp", "-noreset"},
        EnvChanges{}, logDir_ + "/xvfb.log", pipeFds[1]);
    close(pipeFds[1]);
    std::string number;
    const auto deadline = Clock::now() + 30s;
    while (Clock::now() < deadline && number.find('\n') == std::string::npos) {
        pollfd fd{pipeFds[0], POLLIN, 0};
        if (poll(&fd, 1, 200) <= 0)
            continue;
        char buffer[32];
        const ssize_t got = read(pipeFds[0], buffer, sizeof buffer);
        if (got <= 0)
            break;
        number.append(buffer, static_cast<std::size_t>(got));
    }
    close(pipeFds[0]);
    if (number.find('\n') == std::string::npos)
        throw std::runtime_error("Xvfb did not start (see xvfb.log)");
    display_ = ":" + number.substr(0, number.find('\n'));
    if (!waitUntil([this] { return runCommand({"xdpyinfo"}, env(), 5s).status == 0; }, 30s, 100ms))
        throw std::runtime_error("Xvfb " + display_ + " does not answer");

    wm_ = std::make_unique<Process>(std::vector<std::string>{"openbox", "--sm-disable"}, env(),
                                    logDir_ + "/openbox.log");
    const bool wmUp = waitUntil(
        [this] {
            return tool({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}, false).find("window id") !=
                   std::string::npos;
        },
        30s, 100ms);
    if (!wmUp)
        throw std::runtime_error("openbox did not come up on " + display_);
    if (withTray)
        startTray();
}

Desktop::~Desktop() {
    tray_.reset();
    wm_.reset();
    xvfb_.reset();
}

EnvChanges Desktop::env() const {
    return EnvChanges{{"DISPLAY", display_},
                      {"QT_QPA_PLATFORM", "xcb"},
                      {"DBUS_SESSION_BUS_ADDRESS", std::nullopt},
                      {"WAYLAND_DISPLAY", std::nullopt},
                      {"XDG_RUNTIME_DIR", logDir_}};
}

void Desktop::startTray() {
    if (tray_ && tray_->running())
        return;
    tray_ =
        std::make_unique<Process>(std::vector<std::string>{"tint2"}, env(), logDir_ + "/tint2.log");
    if (!waitUntil([this] { return trayOwned(); }, 30s, 100ms))
        throw std::runtime_error("tint2 took no _NET_SYSTEM_TRAY_S0 on " + display_);
}

void Desktop::stopTray() {
    tray_.reset();
    if (!waitUntil([this] { return !trayOwned(); }, 30s, 100ms))
        throw std::runtime_error("_NET_SYSTEM_TRAY_S0 still owned after tint2 ended");
}

bool Desktop::trayOwned() const {
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(display_.c_str(), &screenNumber);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return false;
    }
    const std::string name = "_NET_SYSTEM_TRAY_S" + std::to_string(screenNumber);
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection,
        xcb_intern_atom(connection, 0, static_cast<uint16_t>(name.size()), name.c_str()), nullptr);
    bool owned = false;
    if (atom != nullptr) {
        xcb_get_selection_owner_reply_t* owner = xcb_get_selection_owner_reply(
            connection, xcb_get_selection_owner(connection, atom->atom), nullptr);
        owned = owner != nullptr && owner->owner != XCB_WINDOW_NONE;
        std::free(owner);
        std::free(atom);
    }
    xcb_disconnect(connection);
    return owned;
}

std::string Desktop::tool(const std::vector<std::string>& argv, bool mustSucceed) const {
    const CommandResult result = runCommand(argv, env());
    if (mustSucceed && result.status != 0) {
        std::string line;
        for (const std::string& arg : argv)
            line += arg + " ";
        throw std::runtime_error("failed: " + line + "(status " + std::to_string(result.status) +
                                 ")");
    }
    return result.out;
}

std::vector<unsigned long> Desktop::windowsOf(pid_t pid, const std::string& nameRegex) const {
    // xdotool's own --name also matches other names than the title; match the title here.
    std::vector<unsigned long> out;
    std::stringstream lines(tool({"xdotool", "search", "--pid", std::to_string(pid)}, false));
    std::string line;
    const std::regex wanted(nameRegex.empty() ? std::string(".*") : nameRegex);
    while (std::getline(lines, line)) {
        unsigned long window = 0;
        try {
            window = std::stoul(line);
        } catch (...) {
            continue;
        }
        if (nameRegex.empty() || std::regex_search(name(window), wanted))
            out.push_back(window);
    }
    return out;
}

unsigned long Desktop::viewableWindowOf(pid_t pid, const std::string& nameRegex) const {
    for (unsigned long window : windowsOf(pid, nameRegex)) {
        if (info(window).viewable)
            return window;
    }
    return 0;
}

WindowInfo Desktop::info(unsigned long window) const {
    WindowInfo info;
    const CommandResult geometry = runCommand({"xwininfo", "-id", std::to_string(window)}, env());
    if (geometry.status != 0)
        return info;
    info.exists = true;
    std::stringstream lines(geometry.out);
    std::string line;
    auto valueAfter = [&line](const char* label, int& out) {
        const auto at = line.find(label);
        if (at != std::string::npos)
            out = std::atoi(line.c_str() + at + std::strlen(label));
    };
    while (std::getline(lines, line)) {
        valueAfter("Absolute upper-left X:", info.x);
        valueAfter("Absolute upper-left Y:", info.y);
        valueAfter("Width:", info.width);
        valueAfter("Height:", info.height);
        if (line.find("Map State:") != std::string::npos)
            info.viewable = line.find("IsViewable") != std::string::npos;
    }
    const std::string props = tool(
        {"xprop", "-id", std::to_string(window), "-notype", "_NET_FRAME_EXTENTS", "_NET_WM_STATE"},
        false);
    std::stringstream propLines(props);
    while (std::getline(propLines, line)) {
        const auto equals = line.find(" = ");
        if (equals == std::string::npos)
            continue;
        std::stringstream values(line.substr(equals + 3));
        std::string item;
        if (line.rfind("_NET_FRAME_EXTENTS", 0) == 0) {
            while (std::getline(values, item, ','))
                info.frame.push_back(std::atoi(item.c_str()));
        } else if (line.rfind("_NET_WM_STATE", 0) == 0) {
            while (std::getline(values, item, ',')) {
                item.erase(0, item.find_first_not_of(' '));
                if (!item.empty())
                    info.state.push_back(item);
            }
        }
    }
    return info;
}

std::string Desktop::name(unsigned long window) const {
    std::string text = tool({"xdotool", "getwindowname", std::to_string(window)}, false);
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text;
}

std::vector<unsigned long> Desktop::clientList() const {
    return numbersAfterHash(tool({"xprop", "-root", "_NET_CLIENT_LIST"}, false));
}

bool Desktop::inClientList(unsigned long window) const {
    for (unsigned long client : clientList()) {
        if (client == window)
            return true;
    }
    return false;
}

unsigned long Desktop::trayIconOf(pid_t pid) const {
    // Qt puts _XEMBED_INFO on every window; the icon is the one embedded into the tray:
    // viewable, not managed by the window manager (no frame extents), and its parent is
    // a window of the tray host, not the root window.
    for (unsigned long window : windowsOf(pid)) {
        const WindowInfo where = info(window);
        if (!where.viewable || !where.frame.empty())
            continue;
        const std::string tree = tool({"xwininfo", "-tree", "-id", std::to_string(window)}, false);
        const auto parent = tree.find("Parent window id:");
        if (parent == std::string::npos)
            continue;
        const std::string line = tree.substr(parent, tree.find('\n', parent) - parent);
        if (line.find("(the root window)") == std::string::npos)
            return window;
    }
    return 0;
}

std::pair<int, int> Desktop::centreOf(unsigned long window) const {
    const WindowInfo where = info(window);
    return {where.x + where.width / 2, where.y + where.height / 2};
}

void Desktop::screenshot(const std::string& path) const {
    tool({"import", "-window", "root", path});
}

}  // namespace testsupport
