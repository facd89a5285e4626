#include "support/program_run.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "support/temp_dir.h"

namespace testsupport {

namespace {

// Starts `argv` (null-terminated; argv[0] a path, or a name looked up on PATH) with its
// standard output and error going to the file at `outputPath`. The child's pid, or -1.
pid_t startWithOutputTo(const std::string& outputPath, const std::vector<const char*>& argv) {
    const pid_t child = fork();
    if (child == 0) {
        const int out = ::open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0)
            _exit(127);
        ::dup2(out, 1);
        ::dup2(out, 2);
        ::execvp(argv[0], const_cast<char* const*>(argv.data()));
        _exit(127);
    }
    return child;
}

}  // namespace

ProgramRun runVorn(const std::vector<std::string>& arguments, int timeoutSeconds) {
    ProgramRun run;
    const char* binDir = std::getenv("VORN_BIN_DIR");
    if (binDir == nullptr)
        return run;
    const std::string program = std::string(binDir) + "/vorn";
    const std::string limit = std::to_string(timeoutSeconds);
    std::vector<const char*> argv{"timeout", limit.c_str(), program.c_str()};
    for (const std::string& argument : arguments)
        argv.push_back(argument.c_str());
    argv.push_back(nullptr);

    TempDir dir;
    const std::string outputPath = dir.file("output");
    const pid_t child = startWithOutputTo(outputPath, argv);
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child)
        return run;
    run.output = readFile(outputPath);
    // timeout(1) ends with 124 when it had to stop the program.
    run.exited = WIFEXITED(status) && WEXITSTATUS(status) != 124;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

RunningVorn::RunningVorn(const std::vector<std::string>& arguments) {
    const char* binDir = std::getenv("VORN_BIN_DIR");
    if (binDir == nullptr)
        return;
    const std::string program = std::string(binDir) + "/vorn";
    std::vector<const char*> argv{program.c_str()};
    for (const std::string& argument : arguments)
        argv.push_back(argument.c_str());
    argv.push_back(nullptr);
    const std::string outputPath = dir_.file("output");
    pid_ = startWithOutputTo(outputPath, argv);
}

RunningVorn::~RunningVorn() {
    if (pid_ <= 0 || ended_)
        return;
    ::kill(pid_, SIGTERM);
    if (!waitForExit(10)) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
}

bool RunningVorn::waitForExit(double seconds) {
    if (pid_ <= 0 || ended_)
        return ended_;
    waitUntil(seconds, [this] {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) != pid_)
            return false;
        ended_ = true;
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return true;
    });
    return ended_;
}

std::string RunningVorn::output() const {
    return readFile(dir_.file("output"));
}

bool waitUntil(double seconds, const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

int reportBlocks(const std::string& reportPath) {
    return countOf(readFile(reportPath), std::string(70, '-') + "\r\n");
}

}  // namespace testsupport
