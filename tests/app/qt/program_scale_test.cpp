// The real program over a library: started on a folder of 2,000 songs with a session of
// 300, it plays every one of them and ends by itself, under a soft limit of 256 open
// descriptors, holding no more descriptors or threads late in the session than early in
// it. A pipeline left behind per song played or file probed runs out of descriptors long
// before the end.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "support/program_run.h"
#include "support/temp_dir.h"
#include "support/test_media.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kSession = 300;
constexpr int kFolders = 200;  // of ten songs each
constexpr int kEarlySample = 20;
constexpr int kLateSample = 280;
constexpr rlim_t kDescriptorLimit = 256;
constexpr auto kDeadline = std::chrono::seconds(90);  // within the CTest TIMEOUT
constexpr auto kStall = std::chrono::seconds(15);     // without a new song: the program hangs

using testsupport::readFile;

// Entries of a folder such as /proc/<pid>/fd; -1 when it can't be read.
int countEntries(const std::string& folder) {
    std::error_code error;
    fs::directory_iterator entries(folder, error);
    return error ? -1 : static_cast<int>(std::distance(entries, fs::directory_iterator()));
}

// Counts the pipeline report blocks (one per song opened, each starting with a line of 70
// dashes) as the program appends them, reading each byte once.
class ReportWatch {
  public:
    explicit ReportWatch(std::string path) : path_(std::move(path)) {}
    int blocks() {
        std::ifstream in(path_, std::ios::binary);
        if (!in.seekg(static_cast<std::streamoff>(read_)))
            return blocks_;
        const std::string more((std::istreambuf_iterator<char>(in)), {});
        read_ += more.size();
        tail_ += more;
        for (auto at = tail_.find(marker_); at != std::string::npos; at = tail_.find(marker_)) {
            ++blocks_;
            tail_.erase(0, at + marker_.size());
        }
        if (tail_.size() > marker_.size())  // a marker may be cut by the end of this read
            tail_.erase(0, tail_.size() - marker_.size());
        return blocks_;
    }

  private:
    const std::string marker_ = std::string(70, '-') + "\r\n";
    std::string path_;
    std::size_t read_ = 0;
    std::string tail_;
    int blocks_ = 0;
};

struct Usage {
    int songs = -1;  // report blocks when sampled; -1: never sampled
    int descriptors = -1;
    int threads = -1;
};

Usage sample(pid_t pid, int songs) {
    const std::string proc = "/proc/" + std::to_string(pid);
    return {songs, countEntries(proc + "/fd"), countEntries(proc + "/task")};
}

std::string describe(const Usage& usage) {
    if (usage.songs < 0)
        return "not reached";
    return "after " + std::to_string(usage.songs) + " songs " + std::to_string(usage.descriptors) +
           " descriptors, " + std::to_string(usage.threads) + " threads";
}

// Starts `args` under the lowered descriptor limit, with its output in `log`. The child dies
// with this process, so a program that never ends can't outlive the test.
pid_t spawnLimited(std::vector<std::string> args, const std::string& log) {
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    // Only async-signal-safe calls between fork and exec.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent)
        _exit(127);
    rlimit limit{};
    getrlimit(RLIMIT_NOFILE, &limit);
    limit.rlim_cur = limit.rlim_max < kDescriptorLimit ? limit.rlim_max : kDescriptorLimit;
    const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (setrlimit(RLIMIT_NOFILE, &limit) != 0 || out < 0 || dup2(out, 1) < 0 || dup2(out, 2) < 0)
        _exit(127);
    close_range(3, ~0U, 0);  // nothing of this process's own stays open in the program
    execv(argv[0], argv.data());
    _exit(127);
}

TEST(ProgramAtScale, PlaysAThreeHundredSongSessionOfALibraryWithoutGrowing) {
    const char* binDir = std::getenv("VORN_BIN_DIR");
    ASSERT_NE(binDir, nullptr);
    testsupport::TempDir dir;

    // Ten short songs a folder, in the order the search finds them: sound files first,
    // then MP3s with and without a Xing header, then a film with sound.
    const std::string made = dir.subdir("made");
    const std::vector<std::pair<std::string, int>> kinds = {
        {testsupport::makeWav(made, "song.wav", 0.1), 4},
        {testsupport::makeMp3(made, "xing.mp3", 0.1), 3},
        {testsupport::makeCbrMp3WithoutXing(made, "cbr.mp3", 0.1), 2},
        {testsupport::makeAvi(made, "clip.avi", 0.2, 0.2), 1}};
    const std::string library = dir.subdir("library");
    for (int folder = 0; folder < kFolders; ++folder) {
        const fs::path into = dir.subdir("library/" + std::to_string(folder));
        for (const auto& [file, copies] : kinds)
            for (int copy = 0; copy < copies; ++copy)
                fs::create_hard_link(
                    file, into / (std::to_string(copy) + "-" + fs::path(file).filename().string()));
    }

    const std::string ini = dir.file("vorn.ini");
    const std::string report = dir.file("report.fil");
    std::ofstream(ini) << "[PlaySettings]\nPlayTime=0\nwaitTime=0\nplayCnt=" << kSession
                       << "\n[OhterSettings]\nisEndAndPlay=1\nfilter=" << report << "\n";
    const std::string log = dir.file("out.txt");

    const auto start = Clock::now();
    const pid_t pid = spawnLimited({std::string(binDir) + "/vorn", "--ini", ini, library}, log);
    ASSERT_GT(pid, 0);
    ReportWatch watch(report);
    Usage early;
    Usage late;
    Usage killedAt;
    bool killed = false;
    int status = 0;
    auto lastSong = start;
    for (int songs = 0; waitpid(pid, &status, WNOHANG) == 0;) {
        const int before = songs;
        songs = watch.blocks();
        const auto now = Clock::now();
        if (songs != before)
            lastSong = now;
        if (early.songs < 0 && songs >= kEarlySample)
            early = sample(pid, songs);
        if (late.songs < 0 && songs >= kLateSample)
            late = sample(pid, songs);
        if (now - start > kDeadline || now - lastSong > kStall) {
            killedAt = sample(pid, songs);
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            killed = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const int songs = watch.blocks();
    std::string summary = std::to_string(songs) + " of " + std::to_string(kSession) + " songs in " +
                          std::to_string(seconds) + " s; early " + describe(early) + "; late " +
                          describe(late);
    if (killed)
        summary += "; killed " + describe(killedAt);
    std::printf("%s\n", summary.c_str());

    std::string output = readFile(log);
    if (output.size() > 4000)
        output = "...\n" + output.substr(output.size() - 4000);
    ASSERT_FALSE(killed) << "killed, still running: " << summary << "\n" << output;
    ASSERT_TRUE(WIFEXITED(status)) << summary << "\n" << output;
    EXPECT_EQ(WEXITSTATUS(status), 0) << summary << "\n" << output;
    EXPECT_EQ(songs, kSession) << summary << "\n" << output;
    ASSERT_GE(late.songs, 0) << summary;
    // The search may have ended by the late sample, taking its probe's descriptors and
    // threads with it: only growth counts.
    EXPECT_LE(late.descriptors, early.descriptors + 3) << summary;
    EXPECT_LE(late.threads, early.threads + 3) << summary;
}

}  // namespace
