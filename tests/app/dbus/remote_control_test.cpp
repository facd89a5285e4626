// The running player as other programs reach it: playerctl reads and drives the session
// over the session bus (what reaches the audio sink shows it acted), a second start hands
// its paths to the running player, and without a bus the player still plays and takes a
// second start's paths over its local socket.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <QtDBus>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "support/open_blocker.h"
#include "support/program_run.h"
#include "support/session_bus.h"
#include "support/sound_capture.h"
#include "support/temp_dir.h"
#include "support/test_media.h"

namespace {

using testsupport::RunningVorn;
using testsupport::SoundCapture;
using testsupport::toolOutput;
using testsupport::waitUntil;

std::string playerctl(const std::vector<std::string>& arguments) {
    std::vector<std::string> argv{"playerctl", "--player=vorn"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return toolOutput(argv);
}

bool statusBecomes(const std::string& status) {
    return waitUntil(10, [&] { return playerctl({"status"}) == status; });
}

bool titleBecomes(const std::string& title, double seconds = 10) {
    return waitUntil(seconds, [&] { return playerctl({"metadata", "xesam:title"}) == title; });
}

// The pitch of the last half second that reached the sink.
double latestFrequency(const SoundCapture& capture) {
    std::vector<std::int16_t> samples = capture.samples();
    const std::size_t half = SoundCapture::kRate / 2;
    if (samples.size() > half)
        samples.erase(samples.begin(), samples.end() - static_cast<std::ptrdiff_t>(half));
    return testsupport::dominantFrequency(samples, SoundCapture::kRate);
}

// Two tagged songs of different pitch and an ini file in one folder.
struct Songs {
    testsupport::TempDir dir;
    std::string first =
        testsupport::makeWav(dir.path(), "first.wav", 6.0, {"Ann Artist", "First Song", ""}, 440);
    std::string second =
        testsupport::makeWav(dir.path(), "second.wav", 6.0, {"", "Second Song", ""}, 880);
    std::string ini = dir.file("tvorn.ini");
};

TEST(RemoteControl, PlayerctlReadsPausesSeeksSkipsAndQuits) {
    testsupport::SessionBus bus;
    Songs songs;
    SoundCapture capture(songs.dir.subdir("capture"));
    RunningVorn vorn({"--ini", songs.ini, songs.first, songs.second});
    ASSERT_TRUE(vorn.started());

    ASSERT_TRUE(statusBecomes("Playing")) << vorn.output();
    EXPECT_EQ(
        playerctl({"metadata", "--format", "{{xesam:title}}|{{xesam:artist}}|{{mpris:length}}"}),
        "First Song|Ann Artist|6000000");
    EXPECT_EQ(playerctl({"metadata", "xesam:url"}), "file://" + songs.first);

    // Paused, the sound stops.
    playerctl({"pause"});
    ASSERT_TRUE(statusBecomes("Paused"));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const double pausedAt = capture.seconds();
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    EXPECT_LT(capture.seconds() - pausedAt, 0.05);
    playerctl({"play"});
    ASSERT_TRUE(statusBecomes("Playing"));
    EXPECT_TRUE(waitUntil(5, [&] { return capture.seconds() > pausedAt + 0.2; }));

    playerctl({"position", "4"});
    const double position = std::atof(playerctl({"position"}).c_str());
    EXPECT_GE(position, 4.0);
    EXPECT_LT(position, 5.0);

    // The second song, at its own pitch.
    playerctl({"next"});
    ASSERT_TRUE(titleBecomes("Second Song"));
    const double skippedAt = capture.seconds();
    EXPECT_TRUE(waitUntil(5, [&] { return capture.seconds() > skippedAt + 0.6; }));
    EXPECT_NEAR(latestFrequency(capture), 880, 20);
    EXPECT_EQ(
        toolOutput({"dbus-send", "--session", "--print-reply", "--dest=org.mpris.MediaPlayer2.vorn",
                    "/org/mpris/MediaPlayer2", "org.freedesktop.DBus.Properties.Get",
                    "string:org.mpris.MediaPlayer2.Player", "string:CanGoNext"})
            .find("boolean true"),
        std::string::npos);

    // Quit is the main bar's Exit: the settings are written, the program ends.
    toolOutput({"dbus-send", "--session", "--print-reply", "--dest=org.mpris.MediaPlayer2.vorn",
                "/org/mpris/MediaPlayer2", "org.mpris.MediaPlayer2.Quit"});
    ASSERT_TRUE(vorn.waitForExit(10));
    EXPECT_EQ(vorn.status(), 0);
    EXPECT_NE(
        testsupport::readFile(songs.ini).find("Dir0=" + songs.first + "|" + songs.second + "|"),
        std::string::npos)
        << testsupport::readFile(songs.ini);
}

// The loudest sample of the last quarter second that reached the sink.
int latestPeak(const SoundCapture& capture) {
    const std::vector<std::int16_t> samples = capture.samples();
    int peak = 0;
    for (std::size_t i = samples.size() - std::min<std::size_t>(samples.size(), 2000);
         i < samples.size(); ++i)
        peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
    return peak;
}

// What the desktop is told and may set: the volume lowers what reaches the sink at once,
// a wait between songs reads Stopped at 0, and loop, shuffle and volume written over the
// bus are kept in the ini at Quit.
TEST(RemoteControl, AWaitReadsStoppedAndTheOptionsWrittenAreKept) {
    testsupport::SessionBus bus;
    Songs songs;
    std::ofstream(songs.ini) << "[PlaySettings]\nwaitTime=3\n";
    SoundCapture capture(songs.dir.subdir("capture"));
    RunningVorn vorn({"--ini", songs.ini, songs.first, songs.second});
    ASSERT_TRUE(statusBecomes("Playing")) << vorn.output();
    ASSERT_TRUE(waitUntil(5, [&] { return capture.seconds() > 1; }));
    const int loud = latestPeak(capture);
    playerctl({"volume", "0.25"});
    const double loweredAt = capture.seconds();
    ASSERT_TRUE(waitUntil(5, [&] { return capture.seconds() > loweredAt + 0.6; }));
    EXPECT_NEAR(latestPeak(capture), loud * 0.25 * 0.25 * 0.25, loud * 0.01);
    EXPECT_EQ(playerctl({"volume"}), "0.250000");

    playerctl({"position", "5.5"});
    ASSERT_TRUE(statusBecomes("Stopped"));  // the first song is over; the wait runs
    EXPECT_EQ(playerctl({"position"}), "0.000000");
    playerctl({"loop", "Track"});
    playerctl({"shuffle", "On"});
    EXPECT_EQ(playerctl({"loop"}), "Track");
    EXPECT_EQ(playerctl({"shuffle"}), "On");
    ASSERT_TRUE(statusBecomes("Playing"));  // the second song after the wait

    toolOutput({"dbus-send", "--session", "--print-reply", "--dest=org.mpris.MediaPlayer2.vorn",
                "/org/mpris/MediaPlayer2", "org.mpris.MediaPlayer2.Quit"});
    ASSERT_TRUE(vorn.waitForExit(10));
    const std::string ini = testsupport::readFile(songs.ini);
    for (const char* kept : {"isRepeat=1", "isRandom=1", "Volume=25"})
        EXPECT_NE(ini.find(kept), std::string::npos) << kept << " in\n" << ini;

    // The next start reads them back.
    RunningVorn again({"--ini", songs.ini, songs.first, songs.second});
    ASSERT_TRUE(statusBecomes("Playing")) << again.output();
    EXPECT_EQ(playerctl({"volume"}) + playerctl({"loop"}) + playerctl({"shuffle"}),
              "0.250000TrackOn");
}

// A song that can't be opened without blocking, turned into a FIFO after the search
// probed it or on a mount that stopped answering (a lease nobody lets go), freezes
// nothing: the player answers the bus meanwhile, the session goes on with the next song,
// and Quit, even during the stuck open, saves everything and ends the program in time.
// A second's wait between songs puts the open after the lease: without it, the next song
// would be opened while the first plays, to follow it without a gap.
TEST(RemoteControl, ASongThatNeverOpensFreezesNothing) {
    for (const bool fifo : {true, false}) {
        SCOPED_TRACE(fifo ? "FIFO" : "stuck open");
        testsupport::SessionBus bus;
        Songs songs;
        std::ofstream(songs.ini) << "[PlaySettings]\nwaitTime=1\n";
        const std::string stuck = testsupport::makeWav(songs.dir.path(), "stuck.wav", 6.0);
        const std::string opener = testsupport::makeWav(songs.dir.path(), "a.wav", 1.0);
        RunningVorn vorn({"--ini", songs.ini, opener, stuck, songs.second});
        ASSERT_TRUE(statusBecomes("Playing")) << vorn.output();
        std::unique_ptr<testsupport::OpenBlocker> blocker;
        if (fifo) {
            ::unlink(stuck.c_str());
            ASSERT_EQ(::mkfifo(stuck.c_str(), 0644), 0);
        } else {
            blocker = std::make_unique<testsupport::OpenBlocker>(stuck);
            ASSERT_TRUE(blocker->holding());
        }
        for (int i = 0; i < 10; ++i) {
            const auto start = std::chrono::steady_clock::now();
            EXPECT_NE(playerctl({"status"}), "");
            EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
        if (fifo) {
            playerctl({"next"});
            EXPECT_TRUE(titleBecomes("Second Song"));
        }
        const auto quitAt = std::chrono::steady_clock::now();
        toolOutput({"dbus-send", "--session", "--print-reply", "--dest=org.mpris.MediaPlayer2.vorn",
                    "/org/mpris/MediaPlayer2", "org.mpris.MediaPlayer2.Quit"});
        ASSERT_TRUE(vorn.waitForExit(3)) << vorn.output();
        EXPECT_LT(std::chrono::steady_clock::now() - quitAt, std::chrono::seconds(2));
        EXPECT_EQ(vorn.status(), 0);
        EXPECT_NE(testsupport::readFile(songs.ini).find("Dir0="), std::string::npos);
    }
}

// The player's Open(aay), or OpenUri(s) with the one path; waits for the answer.
void openOverBus(const std::vector<std::string>& paths, bool uri) {
    qDBusRegisterMetaType<QList<QByteArray>>();
    QList<QByteArray> list;
    for (const std::string& path : paths)
        list.append(QByteArray::fromStdString(path));
    QDBusMessage call = QDBusMessage::createMethodCall(
        "org.mpris.MediaPlayer2.vorn", "/org/mpris/MediaPlayer2",
        uri ? "org.mpris.MediaPlayer2.Player" : "io.github.vorn.Vorn", uri ? "OpenUri" : "Open");
    call << (uri ? QVariant(QString::fromUtf8(list.front())) : QVariant::fromValue(list));
    QDBusConnection::sessionBus().call(call);  // the test's bus, the first the process uses
}

// Each row failed before: second.wav played, 70,000 paths were taken, or (the last) the
// player stayed deaf on the bus and the later start ran as a second player after 10 s.
TEST(RemoteControl, HandedPathsAreCheckedAndNoCallDeafensThePlayer) {
    testsupport::SessionBus bus;
    Songs songs;
    ASSERT_EQ(::chdir(songs.dir.path().c_str()), 0);
    RunningVorn vorn({"--ini", songs.ini, songs.first});
    ASSERT_TRUE(titleBecomes("First Song")) << vorn.output();
    const std::tuple<std::vector<std::string>, bool, const char*> rows[] = {
        {{songs.second + std::string("\0.mp3", 5)}, false, "a path holding a NUL byte"},
        {{"second.wav"}, false, "a relative path"},
        {{"file://" + songs.second + "%00.mp3"}, true, "a path holding a NUL byte"},
        {{"second.wav"}, true, "a relative path"},
        {std::vector<std::string>(70000, songs.second), false, "70000 paths of"},
        {{"file:///" + std::string(67u << 20, 'a')}, true, "1 paths of 70254600 bytes"},
    };
    for (const auto& [paths, uri, said] : rows) {
        const std::size_t seen = vorn.output().size();
        openOverBus(paths, uri);
        EXPECT_TRUE(waitUntil(5, [&] {
            return vorn.output().find(said, seen) != std::string::npos;
        })) << said;
        EXPECT_FALSE(titleBecomes("Second Song", 1)) << said;
    }
    const testsupport::ProgramRun second =
        testsupport::runVorn({"--ini", songs.dir.file("other.ini"), songs.second}, 5);
    EXPECT_TRUE(second.exited && second.status == 0) << second.output;
    EXPECT_TRUE(titleBecomes("Second Song"));
}

TEST(OneInstance, ASecondStartHandsItsPathsOverUnlessItAsksForANewInstance) {
    testsupport::SessionBus bus;
    Songs songs;
    RunningVorn first({"--ini", songs.ini, songs.first});
    ASSERT_TRUE(titleBecomes("First Song")) << first.output();

    // A relative path, from the second start's own folder.
    ASSERT_EQ(::chdir(songs.dir.path().c_str()), 0);
    const testsupport::ProgramRun second =
        testsupport::runVorn({"--ini", songs.dir.file("other.ini"), "second.wav"}, 10);
    EXPECT_TRUE(second.exited) << second.output;
    EXPECT_EQ(second.status, 0) << second.output;
    EXPECT_TRUE(titleBecomes("Second Song"));
    EXPECT_FALSE(std::ifstream(songs.dir.file("other.ini")).good());

    RunningVorn beside({"--new-instance", "--ini", songs.dir.file("other.ini"), songs.first});
    const std::string name = "org.mpris.MediaPlayer2.vorn.instance" + std::to_string(beside.pid());
    EXPECT_TRUE(waitUntil(10, [&] {
        return toolOutput({"dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus",
                           "/org/freedesktop/DBus", "org.freedesktop.DBus.ListNames"})
                   .find(name) != std::string::npos;
    })) << beside.output();
}

TEST(OneInstance, WithoutABusThePlayerPlaysAndTakesPathsOverItsSocket) {
    Songs songs;
    const std::string runtime = songs.dir.subdir("runtime");
    ::chmod(runtime.c_str(), 0700);
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    ::setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + songs.dir.file("no-bus")).c_str(), 1);
    std::ofstream(songs.ini) << "[OhterSettings]\nisEndAndPlay=1\n";
    SoundCapture capture(songs.dir.subdir("capture"));
    const std::string shortSong = testsupport::makeWav(songs.dir.path(), "short.wav", 1.5, {}, 880);

    RunningVorn first({"--ini", songs.ini, songs.first});
    ASSERT_TRUE(waitUntil(10, [&] { return capture.seconds() > 0.3; })) << first.output();
    const testsupport::ProgramRun second =
        testsupport::runVorn({"--ini", songs.ini, shortSong}, 10);
    EXPECT_TRUE(second.exited) << second.output;
    EXPECT_EQ(second.status, 0) << second.output;

    // The short song replaces the first; its end ends the session and the program.
    ASSERT_TRUE(first.waitForExit(15)) << first.output();
    EXPECT_EQ(first.status(), 0);
    EXPECT_NEAR(latestFrequency(capture), 880, 20);
    // Silently: nothing is said about the missing bus.
    std::string output = first.output();
    for (char& c : output)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(output.find("bus"), std::string::npos) << output;
}

// The player's CPU time so far, from /proc.
double cpuSeconds(int pid) {
    std::istringstream stat(testsupport::readFile("/proc/" + std::to_string(pid) + "/stat"));
    std::string field;
    double ticks = 0;
    for (int i = 1; i <= 15 && stat >> field; ++i)
        ticks += i >= 14 ? std::atof(field.c_str()) : 0;
    return ticks / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

// One local client can cost the player little and never its socket: 400 connections held
// under a limit of 256 descriptors, then a message announcing a 300 MB path and sending
// 50 MB of it; a later start still hands its paths over. A runtime folder others may
// write to is not used at all.
TEST(OneInstance, NoLocalClientDeafensTheSocketOrCostsMuch) {
    Songs songs;
    const std::string runtime = songs.dir.subdir("runtime");
    ::setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + songs.dir.file("no-bus")).c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    ::chmod(runtime.c_str(), 0777);
    {
        RunningVorn shared({"--ini", songs.ini, songs.first});
        EXPECT_TRUE(waitUntil(
            10, [&] { return shared.output().find("not a private") != std::string::npos; }));
        EXPECT_NE(::access((runtime + "/io.github.vorn.Vorn").c_str(), F_OK), 0);
    }
    ::chmod(runtime.c_str(), 0700);
    RunningVorn vorn({"--ini", songs.ini, songs.first});
    toolOutput({"prlimit", "--pid", std::to_string(vorn.pid()), "--nofile=256:256"});
    sockaddr_un address{AF_UNIX, {}};
    (runtime + "/io.github.vorn.Vorn").copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_TRUE(waitUntil(10, [&] { return ::access(address.sun_path, F_OK) == 0; }));
    auto connectOne = [&] {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
        return fd;
    };
    std::vector<int> held;
    for (int i = 0; i < 400; ++i)
        held.push_back(connectOne());
    std::this_thread::sleep_for(std::chrono::seconds(1));
    for (const int fd : held)
        ::close(fd);

    const double cpuBefore = cpuSeconds(vorn.pid());
    const int fd = connectOne();
    std::size_t sent = ::send(fd, "\0\0\0\1\x12\0\0\0", 8, MSG_NOSIGNAL) == 8 ? 8 : 0;
    const std::string chunk(1 << 16, 'a');
    for (ssize_t n = 1; sent < (50u << 20) && n > 0;) {
        n = ::send(fd, chunk.data(), chunk.size(), MSG_NOSIGNAL);
        sent += n > 0 ? static_cast<std::size_t>(n) : 0;
    }
    ::close(fd);
    EXPECT_LT(sent, 50u << 20);
    EXPECT_LT(cpuSeconds(vorn.pid()) - cpuBefore, 1.0);

    const testsupport::ProgramRun second =
        testsupport::runVorn({"--ini", songs.dir.file("other.ini"), songs.second}, 10);
    EXPECT_TRUE(second.exited && second.status == 0) << second.output;
    EXPECT_FALSE(std::ifstream(songs.dir.file("other.ini")).good());
}

}  // namespace
