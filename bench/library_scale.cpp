// Library scale: what a long session and a large library cost in memory, descriptors and
// probe time. Four measurements, each printed with its ratio and target:
//
//   entries  RSS per entry of a song list alone, N entries appended as the searcher does
//            (a 50-byte path, short author and title): what the list itself keeps a song.
//   list     RSS per song of a song list read from a .lst of N distinct paths (hard links
//            to a few short WAV and MP3 files), each probed by the real media probe, over
//            the RSS after the same search of an empty list. Target: at most +0.6 KB a song.
//   drift    CPU time per probe of the last 100 files of that search against the first
//            100 (files 1-100 and N-99..N). Target: at most 1.2x.
//   changes  RSS and open descriptors after 1,000 song changes of a playing MediaGraph
//            against after 10. Target: RSS at most 1.1x, descriptors equal.
//
// Usage: library_scale [songs=100000] [changes=1000]   (GST_PLUGIN_PATH must reach
// libgstzarvex.so; bench/library_scale.sh sets it up)
#include <dirent.h>
#include <malloc.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/gst/gst_init.h"
#include "playback/gst/media_graph.h"
#include "playback/gst/media_probe.h"
#include "songlist/core/song_list.h"
#include "songlist/core/song_searcher.h"
#include "support/temp_dir.h"
#include "support/test_media.h"

namespace {

double residentKb() {
    long pages = 0;
    long resident = 0;
    std::ifstream statm("/proc/self/statm");
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1024.0;
}

int openDescriptors() {
    int count = 0;
    if (DIR* dir = opendir("/proc/self/fd")) {
        while (readdir(dir))
            ++count;
        closedir(dir);
    }
    return count - 3;  // ".", ".." and the listing's own descriptor
}

double processCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The real media probe, timing each Open by the process's CPU time (the probe's streaming
// threads included; nothing else runs meanwhile).
class TimedProbe : public SongProbe {
  public:
    TimedProbe(std::unique_ptr<SongProbe> probe, std::vector<double>& costs)
        : probe_(std::move(probe)), costs_(costs) {}
    int Open(const std::string& path, bool withNullRenderer) override {
        const double start = processCpuSeconds();
        const int result = probe_->Open(path, withNullRenderer);
        costs_.push_back(processCpuSeconds() - start);
        return result;
    }
    int GetContentText(int kind, std::string& text) override {
        return probe_->GetContentText(kind, text);
    }

  private:
    std::unique_ptr<SongProbe> probe_;
    std::vector<double>& costs_;
};

// Searches the .lst at `path` into `list`; the CPU cost of every probe goes to `costs`.
void searchList(const std::string& path, SongList& list, std::vector<double>& costs) {
    SongProbeFactory media = makeMediaProbeFactory();
    SongSearcher searcher(list, [&]() -> std::unique_ptr<SongProbe> {
        return std::make_unique<TimedProbe>(media(), costs);
    });
    searcher.kind = SongListFile;
    searcher.selection = path;
    searcher.run();
}

double meanOf(const std::vector<double>& values, std::size_t from, std::size_t to) {
    double sum = 0;
    for (std::size_t i = from; i < to; ++i)
        sum += values[i];
    return sum / static_cast<double>(to - from);
}

// A .lst of `songs` distinct paths: hard links, spread over several originals so no
// file system's limit of links per file is reached.
std::string writeLargeList(const testsupport::TempDir& dir, int songs) {
    const std::string media = dir.subdir("media");
    std::vector<std::string> originals;
    for (int i = 0; i < 4; ++i) {
        const std::string n = std::to_string(i);
        originals.push_back(
            testsupport::makeWav(media, "w" + n + ".wav", 0.2, {"Artist " + n, "Title " + n, ""}));
        originals.push_back(
            testsupport::makeMp3(media, "m" + n + ".mp3", 0.2, {"Artist " + n, "Title " + n, ""}));
    }
    const std::string links = dir.subdir("library");
    std::ofstream lst(dir.file("library.lst"), std::ios::binary);
    lst << "#v1000\r\n";
    for (int i = 0; i < songs; ++i) {
        const std::string& original = originals[static_cast<std::size_t>(i) % originals.size()];
        const std::string link =
            links + "/song " + std::to_string(i) + original.substr(original.rfind('.'));
        if (::link(original.c_str(), link.c_str()) != 0) {
            std::perror(link.c_str());
            std::exit(1);
        }
        lst << link << "\r\n";
    }
    return dir.file("library.lst");
}

void measureEntries(int songs) {
    malloc_trim(0);
    const double beforeKb = residentKb();
    {
        SongList list;
        for (int i = 0; i < songs; ++i) {
            std::string path = "/home/listener/Music/Some Artist/Some Album/song " +
                               std::to_string(100000 + i) + ".wav";
            list.append(std::move(path), "Artist " + std::to_string(i % 8),
                        "Title " + std::to_string(i % 8), 0.2);
        }
        malloc_trim(0);
        const double fullKb = residentKb();
        std::printf(
            "entries  %d entries of %zu-byte paths (SongEntry %zu bytes): %.3f KB an entry "
            "(target <= 0.6)\n",
            list.count(), list.pathAt(0).size(), sizeof(SongEntry), (fullKb - beforeKb) / songs);
    }
}

void measureList(int songs) {
    testsupport::TempDir dir;
    const std::string path = writeLargeList(dir, songs);
    std::ofstream(dir.file("empty.lst"), std::ios::binary) << "#v1000\r\n";

    std::vector<double> costs;
    SongList list;
    searchList(dir.file("empty.lst"), list, costs);
    malloc_trim(0);
    const double emptyKb = residentKb();
    searchList(path, list, costs);
    malloc_trim(0);
    const double fullKb = residentKb();
    const double perSong = (fullKb - emptyKb) / songs;
    std::printf(
        "list     %d of %d songs listed; RSS %.0f KB empty, %.0f KB full: %.3f KB a "
        "song (target <= 0.6)\n",
        list.count(), songs, emptyKb, fullKb, perSong);
    if (costs.size() >= 200) {
        const double first = meanOf(costs, 0, 100);
        const double last = meanOf(costs, costs.size() - 100, costs.size());
        std::printf(
            "drift    probe CPU %.2f ms a file for files 1-100, %.2f ms for the last 100: "
            "%.2fx (target <= 1.2)\n",
            first * 1e3, last * 1e3, last / first);
    }
}

void measureSongChanges(int changes) {
    testsupport::TempDir dir;
    std::vector<std::string> songs = {
        testsupport::makeWav(dir.path(), "a.wav", 0.2, {"A", "Wave", ""}),
        testsupport::makeMp3(dir.path(), "b.mp3", 0.2, {"B", "Mpeg", ""}),
        testsupport::makeAvi(dir.path(), "c.avi", 0.2, 0.2),
    };
    MediaGraph graph;
    double earlyKb = 0;
    int earlyFds = 0;
    int failures = 0;
    for (int i = 1; i <= changes; ++i) {
        if (graph.Open(songs[static_cast<std::size_t>(i) % songs.size()], true) != 0 ||
            graph.Run(nullptr) != 0)
            ++failures;
        for (int wait = 0;
             wait < 1000 && graph.PollEvent() == 0 && graph.GetCurrentPosition() < 0.05; ++wait)
            usleep(2000);
        if (i == 10) {
            malloc_trim(0);
            earlyKb = residentKb();
            earlyFds = openDescriptors();
        }
    }
    // Measured like the early point: with a song open.
    malloc_trim(0);
    const double lateKb = residentKb();
    const int lateFds = openDescriptors();
    graph.Close();
    std::printf(
        "changes  after 10 songs RSS %.0f KB, %d fds; after %d: RSS %.0f KB, %d fds: "
        "%.3fx (target <= 1.1), fds %+d (target 0); %d failed\n",
        earlyKb, earlyFds, changes, lateKb, lateFds, lateKb / earlyKb, lateFds - earlyFds,
        failures);
}

}  // namespace

int main(int argc, char** argv) {
    const int songs = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int changes = argc > 2 ? std::atoi(argv[2]) : 1000;
    setenv("VORN_AUDIO_SINK", "fakesink sync=false", 0);
    measureEntries(songs);
    std::fflush(stdout);
    ensureGstInitialised();
    measureSongChanges(changes);
    std::fflush(stdout);
    measureList(songs);
    return 0;
}
