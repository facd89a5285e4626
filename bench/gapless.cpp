// How songs join, heard through a sound server: for each pair of songs, vorn and
// gst-play-1.0 --gapless play them one after the other to a private PulseAudio null sink
// (44.1 kHz, 16-bit stereo) whose monitor is recorded on the server's clock. Each case is
// three songs, soft, loud, soft, so the loud one's length in the recording shows what its
// two joins lost or added. Printed side by side, the median over the runs: the silence
// at the joins, the frames lost (-) or added (+) against the loud song's own length at
// the sink's rate, and the streams opened.
// Usage: gapless <vorn program> [runs]
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "support/sound_server.h"
#include "support/temp_dir.h"
#include "support/test_media.h"

namespace {

using testsupport::SoundServer;

struct Case {
    const char* name;
    std::vector<std::string> encoders;  // per song: what follows the raw source
    std::vector<int> rates;
    std::vector<std::string> extensions;  // the first song's are the third's too
};

// Two seconds of a square wave (never zero, so silence is a gap) at `rate`.
std::string makeSong(const std::string& dir, const std::string& name, int rate,
                     const std::string& encoder, bool loud) {
    const std::string path = dir + "/" + name;
    testsupport::runPipeline(
        std::string("audiotestsrc wave=square volume=") + (loud ? "0.8" : "0.3") +
        " samplesperbuffer=" + std::to_string(rate / 10) +
        " num-buffers=20 ! audio/x-raw,format=S16LE,channels=2,rate=" + std::to_string(rate) +
        " ! " + encoder + " ! filesink location=" + path);
    return path;
}

int run(std::vector<std::string> args) {
    std::fflush(stdout);  // the child's stdout goes elsewhere, but its buffer would go too
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
}

struct Heard {
    double gapMs;
    long long frameError;
    int streams;
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <vorn> [runs]\n", argv[0]);
        return 2;
    }
    const std::string vorn = argv[1];
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    SoundServer server;
    if (!server.available()) {
        std::fprintf(stderr, "PulseAudio (pulseaudio, pulseaudio-utils) is needed\n");
        return 1;
    }
    unsetenv("VORN_AUDIO_SINK");
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    testsupport::TempDir dir;
    const std::string ini = dir.file("tvorn.ini");
    std::ofstream(ini) << "[OhterSettings]\nisEndAndPlay=1\nsearchExtent=*.wav;*.flac;*.mp3\n";

    const std::string wav = "wavenc";
    const std::string flac = "flacenc";
    const std::string mp3 = "lamemp3enc target=bitrate cbr=true bitrate=192 ! xingmux ! id3v2mux";
    const std::vector<Case> cases = {
        {"WAV to WAV", {wav, wav}, {44100, 44100}, {"wav", "wav"}},
        {"FLAC to FLAC", {flac, flac}, {44100, 44100}, {"flac", "flac"}},
        {"WAV 44.1 kHz, FLAC 48 kHz", {wav, flac}, {44100, 48000}, {"wav", "flac"}},
        {"MP3 to MP3", {mp3, mp3}, {44100, 44100}, {"mp3", "mp3"}},
    };
    std::printf("%-28s %-22s %10s %14s %8s\n", "songs (soft, loud, soft)", "player", "gap ms",
                "frames +/-", "streams");
    for (const Case& join : cases) {
        const std::string folder = dir.subdir(std::string("case") + join.extensions[1] +
                                              std::to_string(join.rates[1]) + join.extensions[0]);
        std::vector<std::string> files;
        for (int i = 0; i < 3; ++i) {
            const int which = i % 2;
            files.push_back(makeSong(folder, std::to_string(i + 1) + "." + join.extensions[which],
                                     join.rates[which], join.encoders[which], i == 1));
        }
        const long long expected = 2LL * SoundServer::kRate;  // two seconds at any rate
        struct Player {
            const char* name;
            std::vector<std::string> command;
        };
        const Player players[] = {
            {"vorn", {vorn, "--ini", ini, folder}},
            {"gst-play-1.0 --gapless",
             {"gst-play-1.0", "--gapless", "--no-interactive", "-q", files[0], files[1], files[2]}},
        };
        for (const Player& player : players) {
            std::vector<double> gaps, errors, streams;
            for (int r = 0; r < runs; ++r) {
                server.startCapture();
                run(player.command);
                const auto heard = testsupport::measureJoins(server.stopCapture());
                gaps.push_back(1000.0 * static_cast<double>(heard.gapFrames) / SoundServer::kRate);
                const long long loud =
                    heard.loudSongFrames.size() == 1 ? heard.loudSongFrames[0] : 0;
                errors.push_back(static_cast<double>(loud - expected));
                streams.push_back(server.streamsOpened());
            }
            std::printf("%-28s %-22s %10.3f %+14.0f %8.0f\n", join.name, player.name, median(gaps),
                        median(errors), median(streams));
        }
    }
    std::printf(
        "targets: gap at most 0.1 ms and 0 frames where the formats match; at most "
        "1 ms across a rate change\n");
    return 0;
}
