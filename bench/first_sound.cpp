// First sound: wall time from starting the real program on a folder to the first buffer
// at its audio sink, against gst-play-1.0 on the same file through the same sink. The
// sink is `fdsink fd=3` on a pipe: the first byte on the pipe is the first buffer.
//
//   one      a folder of one WAV, vorn against gst-play-1.0. Target: vorn at most 0.25 s.
//   tree     a tree of N files named *.wav (100 folders; every `realEvery`-th file a hard
//            link to the WAV, the others empty and so dropped by the probe), in order and
//            at random. Target: at most 1.2x the one-file folder.
//
// Runs are interleaved; medians are printed. Usage:
//   first_sound <vorn> [runs=7] [files=100000] [realEvery=10]
// (QT_QPA_PLATFORM=offscreen and GST_PLUGIN_PATH must be set; bench/first_sound.sh does.)
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "support/test_media.h"

namespace {

constexpr int kSinkFd = 3;
constexpr int kTimeoutMs = 20000;

double now() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Starts `argv` with the write end of a pipe as descriptor 3 and returns the seconds until
// the first byte arrives on it, or a negative value when none comes within the limit.
double secondsToFirstByte(const std::vector<std::string>& args) {
    int fds[2];
    if (pipe(fds) != 0)
        return -1;
    std::vector<char*> argv;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    const double start = now();
    const pid_t child = fork();
    if (child == 0) {
        ::dup2(fds[1], kSinkFd);
        if (fds[0] != kSinkFd)
            ::close(fds[0]);
        if (fds[1] != kSinkFd)
            ::close(fds[1]);
        const int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, 0);
        ::dup2(null, 1);
        ::dup2(null, 2);
        ::execvp(argv[0], argv.data());
        _exit(127);
    }
    ::close(fds[1]);
    double seconds = -1;
    pollfd wait{fds[0], POLLIN, 0};
    if (child > 0 && ::poll(&wait, 1, kTimeoutMs) == 1 && (wait.revents & POLLIN) != 0) {
        char byte = 0;
        if (::read(fds[0], &byte, 1) == 1)
            seconds = now() - start;
    }
    if (child > 0) {
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
    }
    ::close(fds[0]);
    return seconds;
}

double median(std::vector<double> values) {
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

// An ini file for a session over a folder, with the play order given.
std::string writeIni(const testsupport::TempDir& dir, const std::string& name, bool random) {
    const std::string path = dir.file(name);
    std::ofstream(path) << "[PlaySettings]\nisRandom=" << (random ? 1 : 0)
                        << "\n[OhterSettings]\nisEndAndPlay=1\nsearchExtent=*.wav\n";
    return path;
}

// `files` files named *.wav in 100 folders; every `realEvery`-th is a hard link to `wav`.
void writeTree(const testsupport::TempDir& dir, const std::string& wav, int files, int realEvery) {
    const int folders = 100;
    const int perFolder = (files + folders - 1) / folders;
    int made = 0;
    for (int f = 0; f < folders && made < files; ++f) {
        const std::string folder = dir.subdir("tree/d" + std::to_string(f));
        for (int i = 0; i < perFolder && made < files; ++i, ++made) {
            const std::string path = folder + "/s" + std::to_string(i) + ".wav";
            if (realEvery > 0 && made % realEvery == 0) {
                if (::link(wav.c_str(), path.c_str()) != 0) {
                    std::perror(path.c_str());
                    std::exit(1);
                }
            } else {
                std::ofstream{path};
            }
        }
    }
}

struct Case {
    const char* name;
    std::vector<std::string> command;
    std::vector<double> seconds;
    int failures = 0;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: first_sound <vorn> [runs] [files] [realEvery]\n");
        return 2;
    }
    const std::string vorn = argv[1];
    const int runs = argc > 2 ? std::atoi(argv[2]) : 7;
    const int files = argc > 3 ? std::atoi(argv[3]) : 100000;
    const int realEvery = argc > 4 ? std::atoi(argv[4]) : 10;
    setenv("VORN_AUDIO_SINK", "fdsink fd=3", 1);

    testsupport::TempDir dir;
    const std::string one = dir.subdir("one");
    const std::string wav = testsupport::makeWav(one, "a.wav", 5.0);
    writeTree(dir, wav, files, realEvery);
    const std::string tree = dir.file("tree");
    const std::string inOrder = writeIni(dir, "order.ini", false);
    const std::string atRandom = writeIni(dir, "random.ini", true);

    std::vector<Case> cases = {
        {"gst-play-1.0 one file",
         {"gst-play-1.0", "--no-interactive", "-q", "--audiosink=fdsink fd=3", wav},
         {}},
        {"vorn one-file folder", {vorn, "--ini", inOrder, one}, {}},
        {"vorn tree in order", {vorn, "--ini", inOrder, tree}, {}},
        {"vorn tree at random", {vorn, "--ini", atRandom, tree}, {}},
    };
    // One unmeasured round warms the caches and the registry.
    for (Case& c : cases)
        secondsToFirstByte(c.command);
    for (int run = 0; run < runs; ++run) {
        for (Case& c : cases) {
            const double seconds = secondsToFirstByte(c.command);
            if (seconds < 0)
                ++c.failures;
            else
                c.seconds.push_back(seconds);
        }
    }
    for (const Case& c : cases)
        std::printf("%-24s median %.3f s over %zu runs (%d without sound)\n", c.name,
                    median(c.seconds), c.seconds.size(), c.failures);
    const double play = median(cases[0].seconds);
    const double single = median(cases[1].seconds);
    std::printf("one      vorn %.3f s, gst-play-1.0 %.3f s: %.2fx (target vorn <= 0.25 s)\n",
                single, play, single / play);
    // Random play draws its first song at the first 500 ms poll over what the search has
    // listed by then (or when the search ends, whichever comes first).
    std::printf(
        "tree     %d files, 1 in %d real: in order %.2fx the one-file folder (target <= 1.2), "
        "at random %.3f s (target <= 0.5 s after the one-file folder's first sound)\n",
        files, realEvery, median(cases[2].seconds) / single, median(cases[3].seconds));
    return 0;
}
