// Probe throughput: the song searcher with the real media probe over a generated folder of
// 300 short files (100 WAV, 100 MP3, 100 AVI with MJPEG video and sound), against
// gst-discoverer-1.0 over the same files. Prints seconds per file for audio and video files.
//
// Both wall time and CPU time (all threads; the discoverer's as a child process) are
// measured, and the best of the rounds is kept: on a shared machine the minimum and the
// CPU time are what other load disturbs least.
//
// Usage: probe_throughput [rounds]   (GST_PLUGIN_PATH must reach libgstzarvex.so)
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "app/gst/gst_init.h"
#include "playback/gst/media_probe.h"
#include "songlist/core/song_list.h"
#include "songlist/core/song_searcher.h"
#include "support/temp_dir.h"
#include "support/test_media.h"

namespace {

using Clock = std::chrono::steady_clock;

double cpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec * 1e-6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct Cost {
    double wall = 1e9;
    double cpu = 1e9;
    void keepBest(double w, double c) {
        wall = std::min(wall, w);
        cpu = std::min(cpu, c);
    }
};

Cost searchSecondsPerFile(const std::string& folder, const std::string& patterns, int files,
                          int& found) {
    SongList list;
    SongSearcher searcher(list, makeMediaProbeFactory());
    searcher.setPatterns(patterns);
    searcher.selection = folder;
    searcher.kind = Folder;
    double cpu = cpuSeconds(RUSAGE_SELF);
    auto start = Clock::now();
    searcher.run();
    double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    found = list.count();
    Cost cost;
    cost.keepBest(seconds / files, (cpuSeconds(RUSAGE_SELF) - cpu) / files);
    return cost;
}

Cost discovererSecondsPerFile(const std::string& folder, int files) {
    std::string command = "gst-discoverer-1.0 '" + folder + "' > /dev/null 2>&1";
    double cpu = cpuSeconds(RUSAGE_CHILDREN);
    auto start = Clock::now();
    int status = std::system(command.c_str());
    double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    Cost cost;
    if (status == 0)
        cost.keepBest(seconds / files, (cpuSeconds(RUSAGE_CHILDREN) - cpu) / files);
    return cost;
}

}  // namespace

int main(int argc, char** argv) {
    int rounds = argc > 1 ? std::atoi(argv[1]) : 3;
    setenv("VORN_AUDIO_SINK", "fakesink", 0);
    ensureGstInitialised();
    testsupport::TempDir dir;
    std::string audio = dir.subdir("audio");
    std::string video = dir.subdir("video");
    const int perKind = 100;
    for (int i = 0; i < perKind; ++i) {
        double seconds = 0.5 + (i % 4) * 0.5;
        std::string n = std::to_string(i);
        testsupport::makeWav(audio, "w" + n + ".wav", seconds, {"Artist " + n, "Title " + n, ""});
        testsupport::makeMp3(audio, "m" + n + ".mp3", seconds, {"Artist " + n, "Title " + n, ""});
        testsupport::makeAvi(video, "v" + n + ".avi", seconds, seconds,
                             i % 2 ? testsupport::AviAudio::Mp3 : testsupport::AviAudio::Pcm);
    }
    std::map<std::string, std::pair<Cost, Cost>> best;  // kind -> probe, discoverer
    for (int round = 1; round <= rounds; ++round) {
        for (auto [name, folder, patterns, files] :
             {std::tuple{"audio", audio, "*.wav;*.mp3", 2 * perKind},
              std::tuple{"video", video, "*.avi", perKind}}) {
            int found = 0;
            Cost probe = searchSecondsPerFile(folder, patterns, files, found);
            Cost discoverer = discovererSecondsPerFile(folder, files);
            auto& [bestProbe, bestDiscoverer] = best[name];
            bestProbe.keepBest(probe.wall, probe.cpu);
            bestDiscoverer.keepBest(discoverer.wall, discoverer.cpu);
            std::printf(
                "round %d %s: probe %.2f ms wall %.2f ms cpu, discoverer %.2f ms wall "
                "%.2f ms cpu per file (%d/%d accepted)\n",
                round, name, probe.wall * 1e3, probe.cpu * 1e3, discoverer.wall * 1e3,
                discoverer.cpu * 1e3, found, files);
            std::fflush(stdout);
        }
    }
    std::printf("\nbest of %d rounds, per file     probe      discoverer   ratio   target\n",
                rounds);
    for (const auto& [name, costs] : best) {
        const auto& [probe, discoverer] = costs;
        const char* target = name == "video" ? "<= 0.5" : "<= 1.0";
        std::printf("%-5s wall                    %7.2f ms  %7.2f ms  %6.2f   %s\n", name.c_str(),
                    probe.wall * 1e3, discoverer.wall * 1e3, probe.wall / discoverer.wall, target);
        std::printf("%-5s cpu                     %7.2f ms  %7.2f ms  %6.2f   %s\n", name.c_str(),
                    probe.cpu * 1e3, discoverer.cpu * 1e3, probe.cpu / discoverer.cpu, target);
    }
    return 0;
}
