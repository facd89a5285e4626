// Probe cost per file: the song searcher with the real media probe against GstDiscoverer,
// the pbutils API in this same process, over the same generated files with a warm cache.
// One folder per format (WAV, MP3 with and without a Xing header, FLAC, and AVI, MP4 and
// WebM with video); each holds a few distinct files reached through hard links.
//
// For each round and format, the searcher searches the folder once (its probe made at the
// start of the search, as the program does) and one discoverer, made for the round, looks
// at every file with gst_discoverer_discover_uri. CPU time is this process's (all threads,
// user and system, getrusage RUSAGE_SELF) around each side. The two sides alternate which
// goes first from round to round; the table shows the median of the rounds per format.
//
// Usage: probe_throughput [rounds] [links] [format] [side]   (defaults 7, 10, every format
// and both sides; GST_PLUGIN_PATH must reach libgstzarvex.so). A side, "vorn" or
// "discoverer", runs that one alone for a profiler; the other's column then shows 0.
#include <gst/pbutils/pbutils.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/gst/gst_init.h"
#include "app/gst/gst_ptr.h"
#include "playback/gst/media_probe.h"
#include "songlist/core/song_list.h"
#include "songlist/core/song_searcher.h"
#include "support/temp_dir.h"
#include "support/test_media.h"

using namespace testsupport;

namespace {

constexpr int kDistinctFiles = 4;

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec * 1e-6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// 0 for no values (a side that did not run).
double median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

struct Format {
    std::string name;
    std::string extension;
    double target;  // highest ratio against the discoverer
    std::vector<std::string> needs;
    std::string (*make)(const std::string& dir, const std::string& name, double seconds,
                        const TagSet& tags);
};

// One format's files and what both sides made of them.
struct Measured {
    Format format;
    std::string folder;
    std::vector<std::string> files;
    std::vector<double> probe;       // CPU seconds per file, one per round
    std::vector<double> discoverer;  // likewise
    int accepted = 0;
    int discovered = 0;
};

const char* kMp4Video = "avenc_mpeg4 name=restamp";
const char* kWebmVideo = "vp8enc deadline=1 cpu-used=8";

std::vector<Format> formats() {
    return {
        {"WAV",
         ".wav",
         1.0,
         {"wavenc"},
         [](const std::string& d, const std::string& n, double s, const TagSet& t) {
             return makeWav(d, n, s, t);
         }},
        {"MP3 Xing",
         ".mp3",
         1.0,
         {"lamemp3enc", "xingmux"},
         [](const std::string& d, const std::string& n, double s, const TagSet& t) {
             return makeMp3(d, n, s, t);
         }},
        {"MP3 no Xing",
         ".mp3",
         1.0,
         {"lamemp3enc"},
         [](const std::string& d, const std::string& n, double s, const TagSet& t) {
             return makeCbrMp3WithoutXing(d, n, s, t);
         }},
        {"FLAC",
         ".flac",
         1.0,
         {"flacenc"},
         [](const std::string& d, const std::string& n, double s, const TagSet& t) {
             return makeMedia(d, n, {"", "flacenc", ""}, s, 440, t);
         }},
        {"AVI",
         ".avi",
         0.5,
         {"avimux", "jpegenc", "lamemp3enc"},
         [](const std::string& d, const std::string& n, double s, const TagSet& t) {
             return makeAvi(d, n, s, s, AviAudio::Mp3, 320, 240, t);
         }},
        {"MP4",
         ".mp4",
         0.5,
         {"mp4mux", "avenc_aac", "avenc_mpeg4"},
         [](const std::string& d, const std::string& n, double s, const TagSet& t) {
             return makeMedia(d, n, {"mp4mux", "avenc_aac", kMp4Video}, s, 440, t);
         }},
        {"WebM",
         ".webm",
         0.5,
         {"webmmux", "vorbisenc", "vp8enc"},
         [](const std::string& d, const std::string& n, double s, const TagSet& t) {
             return makeMedia(d, n, {"webmmux", "vorbisenc", kWebmVideo}, s, 440, t);
         }},
    };
}

// kDistinctFiles files of 0.5 to 2 seconds, each reached through `links` paths.
Measured makeFiles(const Format& kind, const std::string& folder, int links) {
    Measured format{kind, folder, {}, {}, {}, 0, 0};
    for (int i = 0; i < kDistinctFiles; ++i) {
        const std::string n = std::to_string(i);
        const std::string made = kind.make(folder, "f" + n + kind.extension, 0.5 + i * 0.5,
                                           {"Artist " + n, "Title " + n, ""});
        for (int link = 0; link < links; ++link) {
            std::string path = folder + "/f" + n + "-" + std::to_string(link) + kind.extension;
            std::filesystem::create_hard_link(made, path);
            format.files.push_back(path);
        }
        std::filesystem::remove(made);
    }
    return format;
}

double probeCpuPerFile(Measured& format) {
    SongList list;
    SongSearcher searcher(list, makeMediaProbeFactory());
    searcher.setPatterns("*" + format.format.extension);
    searcher.selection = format.folder;
    searcher.kind = Folder;
    const double start = cpuSeconds();
    searcher.run();
    const double spent = cpuSeconds() - start;
    format.accepted = list.count();
    return spent / format.files.size();
}

double discovererCpuPerFile(Measured& format) {
    const double start = cpuSeconds();
    GstDiscoverer* discoverer = gst_discoverer_new(5 * GST_SECOND, nullptr);
    int found = 0;
    for (const std::string& path : format.files) {
        GCharPtr uri(gst_filename_to_uri(path.c_str(), nullptr));
        GstDiscovererInfo* info = gst_discoverer_discover_uri(discoverer, uri.get(), nullptr);
        if (info) {
            if (gst_discoverer_info_get_result(info) == GST_DISCOVERER_OK)
                ++found;
            g_object_unref(info);
        }
    }
    g_object_unref(discoverer);
    const double spent = cpuSeconds() - start;
    format.discovered = found;
    return spent / format.files.size();
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = std::max(1, argc > 1 ? std::atoi(argv[1]) : 7);
    const int links = std::max(1, argc > 2 ? std::atoi(argv[2]) : 10);
    const std::string only = argc > 3 ? argv[3] : "";
    const std::string side = argc > 4 ? argv[4] : "";
    const bool probeSide = side != "discoverer";
    const bool discovererSide = side != "vorn";
    setenv("VORN_AUDIO_SINK", "fakesink", 0);
    ensureGstInitialised();
    TempDir dir;
    std::vector<Measured> list;
    for (const Format& format : formats()) {
        if (!only.empty() && format.name != only)
            continue;
        if (auto missing = missingFactories(format.needs); !missing.empty()) {
            std::printf("%s skipped: this machine lacks %s\n", format.name.c_str(),
                        missing.front().c_str());
            continue;
        }
        list.push_back(makeFiles(format, dir.subdir("f" + std::to_string(list.size())), links));
    }
    // A warm cache and loaded plug-ins for both sides before anything is counted.
    for (Measured& format : list) {
        probeCpuPerFile(format);
        discovererCpuPerFile(format);
    }
    for (int round = 0; round < rounds; ++round) {
        for (Measured& format : list) {
            const bool discovererFirst = round % 2;
            if (discovererSide && discovererFirst)
                format.discoverer.push_back(discovererCpuPerFile(format));
            if (probeSide)
                format.probe.push_back(probeCpuPerFile(format));
            if (discovererSide && !discovererFirst)
                format.discoverer.push_back(discovererCpuPerFile(format));
        }
        std::fprintf(stderr, "round %d of %d done\n", round + 1, rounds);
    }
    std::printf("\nCPU ms per file, median of %d rounds, %d files per format\n", rounds,
                kDistinctFiles * links);
    std::printf("%-12s %8s %11s %7s %7s  %s\n", "format", "vorn", "discoverer", "ratio", "target",
                "accepted/discovered");
    for (const Measured& format : list) {
        const double probe = median(format.probe);
        const double discoverer = median(format.discoverer);
        const double ratio = discoverer > 0 ? probe / discoverer : 0;
        const double target = format.format.target;
        std::printf("%-12s %8.2f %11.2f %7.2f %5s%.1f  %d/%d %s\n", format.format.name.c_str(),
                    probe * 1e3, discoverer * 1e3, ratio, "<=", target, format.accepted,
                    format.discovered, ratio <= target ? "" : "(over target)");
    }
    return 0;
}
