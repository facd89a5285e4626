// Folder search speed: the searcher over a generated tree of 20,000 files in 2,000
// folders with a probe that accepts every file at once, against a bare enumeration of the
// same tree. The search should cost at most 1.5 times the bare enumeration.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "songlist/core/song_list.h"
#include "songlist/core/song_searcher.h"

namespace fs = std::filesystem;

namespace {

constexpr int kTopFolders = 40;
constexpr int kSubfoldersEach = 49;  // 40 + 40 * 49 = 2,000 folders
constexpr int kFilesPerFolder = 10;  // 20,000 files
constexpr const char* kExtensions[kFilesPerFolder] = {".wav", ".mp3", ".avi", ".wav", ".mp3",
                                                      ".avi", ".wav", ".mp3", ".avi", ".wav"};

void fillFolder(const fs::path& folder) {
    fs::create_directories(folder);
    for (int i = 0; i < kFilesPerFolder; ++i)
        std::ofstream(folder / ("track " + std::to_string(i) + kExtensions[i]));
}

// The tree, made once per run and removed at the end.
class Tree {
  public:
    Tree() {
        std::string pattern = (fs::temp_directory_path() / "vorn-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            std::abort();
        root_ = pattern;
        for (int t = 0; t < kTopFolders; ++t) {
            const fs::path top = fs::path(root_) / ("album " + std::to_string(t));
            fillFolder(top);
            for (int s = 0; s < kSubfoldersEach; ++s)
                fillFolder(top / ("disc " + std::to_string(s)));
        }
    }
    ~Tree() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    const std::string& root() const { return root_; }

  private:
    std::string root_;
};

const Tree& tree() {
    static Tree instance;
    return instance;
}

class InstantProbe : public SongProbe {
  public:
    int Open(const std::string&, bool) override { return 0; }
    int GetContentText(int kind, std::string& text) override {
        text = kind == 1 ? "Some Artist" : "Some Title";
        return 0;
    }
};

// Real and CPU time spent in the measured work of one benchmark, summed over all its
// runs, for the closing ratio (kept here so it holds whatever the reporter shows).
struct Timing {
    double real = 0;
    double cpu = 0;
    std::int64_t iterations = 0;

    double meanReal() const { return iterations > 0 ? real / static_cast<double>(iterations) : 0; }
    double meanCpu() const { return iterations > 0 ? cpu / static_cast<double>(iterations) : 0; }
};
Timing gSearch;
Timing gEnumerate;

double threadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Adds the time from its creation to its end to `timing`.
class Stopwatch {
  public:
    explicit Stopwatch(Timing& timing)
        : timing_(timing),
          realStart_(std::chrono::steady_clock::now()),
          cpuStart_(threadCpuSeconds()) {}
    ~Stopwatch() {
        timing_.real +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - realStart_).count();
        timing_.cpu += threadCpuSeconds() - cpuStart_;
        ++timing_.iterations;
    }

  private:
    Timing& timing_;
    std::chrono::steady_clock::time_point realStart_;
    double cpuStart_;
};

void BM_SearchFolder(benchmark::State& state) {
    const std::string root = tree().root();
    SongList list;
    SongSearcher searcher(list, [] { return std::make_unique<InstantProbe>(); });
    searcher.kind = Folder;
    searcher.selection = root;
    searcher.setPatterns("*.wav;*.mp3;*.avi");
    std::int64_t files = 0;
    for (auto _ : state) {
        state.PauseTiming();
        list.clear();
        state.ResumeTiming();
        {
            Stopwatch watch(gSearch);
            searcher.run();
        }
        files += list.count();
    }
    if (list.count() != kTopFolders * (1 + kSubfoldersEach) * kFilesPerFolder)
        state.SkipWithError("the search missed files");
    state.SetItemsProcessed(files);
}

void BM_EnumerateOnly(benchmark::State& state) {
    const std::string root = tree().root();
    std::int64_t files = 0;
    for (auto _ : state) {
        Stopwatch watch(gEnumerate);
        for (const auto& entry : fs::recursive_directory_iterator(root)) {
            if (!entry.is_directory())
                ++files;
            benchmark::DoNotOptimize(entry.path().native().data());
        }
    }
    state.SetItemsProcessed(files);
}

}  // namespace

BENCHMARK(BM_SearchFolder)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EnumerateOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    tree();  // generated before anything is timed
    benchmark::RunSpecifiedBenchmarks();
    if (gSearch.meanReal() > 0 && gEnumerate.meanReal() > 0 && gEnumerate.meanCpu() > 0) {
        std::printf("search %.1f ms, bare enumeration %.1f ms per tree (real time)\n",
                    gSearch.meanReal() * 1e3, gEnumerate.meanReal() * 1e3);
        std::printf(
            "search / bare enumeration: %.2fx real time, %.2fx CPU time (target at most 1.50x)\n",
            gSearch.meanReal() / gEnumerate.meanReal(), gSearch.meanCpu() / gEnumerate.meanCpu());
    }
    benchmark::Shutdown();
    return 0;
}
