#include "support/session_bus.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace testsupport {

namespace {

// Forks `argv` with its standard output into a pipe; the pid, or -1.
int spawn(const std::vector<std::string>& argv, int& readEnd) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return -1;
    const pid_t child = fork();
    if (child == 0) {
        ::dup2(pipeEnds[1], 1);
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
        const int null = ::open("/dev/null", O_WRONLY);
        if (null >= 0)
            ::dup2(null, 2);
        std::vector<char*> args;
        for (const std::string& argument : argv)
            args.push_back(const_cast<char*>(argument.c_str()));
        args.push_back(nullptr);
        ::execvp(args[0], args.data());
        _exit(127);
    }
    ::close(pipeEnds[1]);
    readEnd = pipeEnds[0];
    return child;
}

std::string readAll(int fd) {
    std::string text;
    char buffer[4096];
    ssize_t got;
    while ((got = ::read(fd, buffer, sizeof buffer)) > 0)
        text.append(buffer, static_cast<std::size_t>(got));
    ::close(fd);
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text;
}

}  // namespace

SessionBus::SessionBus() {
    if (const char* value = std::getenv("DBUS_SESSION_BUS_ADDRESS"))
        previous_ = value;
    // --fork: the call returns once the bus listens, with its address and pid printed.
    int fd = -1;
    const int child =
        spawn({"dbus-daemon", "--session", "--fork", "--print-address=1", "--print-pid=1"}, fd);
    if (child < 0)
        throw std::runtime_error("dbus-daemon can't be started");
    const std::string printed = readAll(fd);
    ::waitpid(child, nullptr, 0);
    const std::size_t lineEnd = printed.find('\n');
    if (lineEnd == std::string::npos)
        throw std::runtime_error("dbus-daemon printed no address: " + printed);
    address_ = printed.substr(0, lineEnd);
    pid_ = std::atoi(printed.c_str() + lineEnd + 1);
    ::setenv("DBUS_SESSION_BUS_ADDRESS", address_.c_str(), 1);
}

SessionBus::~SessionBus() {
    if (pid_ > 0)
        ::kill(pid_, SIGTERM);
    if (previous_)
        ::setenv("DBUS_SESSION_BUS_ADDRESS", previous_->c_str(), 1);
    else
        ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
}

std::string toolOutput(const std::vector<std::string>& argv) {
    std::vector<std::string> limited{"timeout", "10"};
    limited.insert(limited.end(), argv.begin(), argv.end());
    int fd = -1;
    const int child = spawn(limited, fd);
    if (child < 0)
        return {};
    std::string text = readAll(fd);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? text : std::string();
}

}  // namespace testsupport
