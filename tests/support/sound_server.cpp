#include "support/sound_server.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "support/program_run.h"
#include "support/sound_capture.h"

namespace testsupport {

namespace {

// Starts `argv` with its standard output (and error, unless `errors` is false) to `out`.
pid_t spawn(const std::vector<std::string>& args, const std::string& out) {
    const pid_t pid = ::fork();
    if (pid != 0)
        return pid;
    std::vector<char*> argv;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    std::FILE* file = std::fopen(out.c_str(), "w");
    if (file) {
        ::dup2(fileno(file), 1);
        ::dup2(fileno(file), 2);
    }
    ::execvp(argv[0], argv.data());
    ::_exit(127);
}

void stop(pid_t& pid) {
    if (pid <= 0)
        return;
    ::kill(pid, SIGTERM);
    ::waitpid(pid, nullptr, 0);
    pid = -1;
}

bool answers(const std::string& server) {
    std::string command = "PULSE_SERVER=" + server + " pactl info >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

}  // namespace

SoundServer::SoundServer() {
    if (const char* previous = std::getenv("PULSE_SERVER")) {
        hadServer_ = true;
        previousServer_ = previous;
    }
    if (std::system("command -v pulseaudio >/dev/null && command -v parec >/dev/null") != 0)
        return;
    const std::string socket = dir_.file("native");
    serverPid_ =
        spawn({"pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit",
               "--use-pid-file=no", "--log-target=stderr", "--log-level=info",
               "--load=module-native-protocol-unix auth-anonymous=1 socket=" + socket,
               "--load=module-null-sink sink_name=capture format=s16le channels=2 rate=" +
                   std::to_string(kRate)},
              dir_.file("server.log"));
    const std::string server = "unix:" + socket;
    if (!waitUntil(10, [&] { return answers(server); })) {
        stop(serverPid_);
        return;
    }
    setenv("PULSE_SERVER", server.c_str(), 1);
}

SoundServer::~SoundServer() {
    stop(recordPid_);
    stop(serverPid_);
    if (hadServer_)
        setenv("PULSE_SERVER", previousServer_.c_str(), 1);
    else
        unsetenv("PULSE_SERVER");
}

void SoundServer::startCapture() {
    if (!available())
        return;
    stop(recordPid_);
    logStart_ = readFile(dir_.file("server.log")).size();
    recordPid_ =
        spawn({"parec", "-d", "capture.monitor", "--raw", "--format=s16le", "--channels=2",
               "--rate=" + std::to_string(kRate), "--latency-msec=20", dir_.file("capture.raw")},
              dir_.file("parec.log"));
    // Both are connected once the server lists the recording stream.
    waitUntil(5, [] { return std::system("pactl list short source-outputs | grep -q .") == 0; });
}

std::vector<std::int16_t> SoundServer::stopCapture(int tailMs) {
    std::this_thread::sleep_for(std::chrono::milliseconds(tailMs));
    stop(recordPid_);
    return readS16File(dir_.file("capture.raw"));
}

int SoundServer::streamsOpened() const {
    const std::string log = readFile(dir_.file("server.log")).substr(logStart_);
    int streams = 0;
    for (std::size_t at = log.find("Created input"); at != std::string::npos;
         at = log.find("Created input", at + 1)) {
        const std::string line = log.substr(at, log.find('\n', at) - at);
        streams += line.find("probe") == std::string::npos;
    }
    return streams;
}

JoinFigures measureJoins(const std::vector<std::int16_t>& stereo, int minGapFrames) {
    JoinFigures figures;
    const std::int64_t frames = static_cast<std::int64_t>(stereo.size() / 2);
    auto silent = [&](std::int64_t frame) {
        return stereo[2 * frame] == 0 && stereo[2 * frame + 1] == 0;
    };
    std::int64_t first = 0;
    while (first < frames && silent(first))
        ++first;
    std::int64_t last = frames - 1;
    while (last >= first && silent(last))
        --last;
    if (first > last)
        return figures;
    figures.soundingFrames = last - first + 1;
    for (std::int64_t frame = first; frame <= last;) {
        std::int64_t run = 0;
        while (frame + run <= last && silent(frame + run))
            ++run;
        if (run >= minGapFrames) {
            ++figures.gaps;
            figures.gapFrames += run;
            figures.longestGapFrames = std::max(figures.longestGapFrames, run);
        }
        frame += run > 0 ? run : 1;
    }
    constexpr int kLoud = 16384;
    constexpr std::int64_t kSoftStretch = 64;
    auto loud = [&](std::int64_t frame) { return std::abs(stereo[2 * frame]) >= kLoud; };
    for (std::int64_t frame = first; frame <= last;) {
        if (!loud(frame)) {
            ++frame;
            continue;
        }
        std::int64_t end = frame;  // the last loud frame so far
        std::int64_t next = frame + 1;
        while (next <= last && next - end < kSoftStretch) {
            if (loud(next))
                end = next;
            ++next;
        }
        figures.loudSongFrames.push_back(end - frame + 1);
        frame = next;
    }
    return figures;
}

}  // namespace testsupport
