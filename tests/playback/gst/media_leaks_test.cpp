// Media graphs give back every GStreamer object they make. Under the leaks tracer
// (GST_TRACERS, set in media_graph.cmake) every element, bus, pad and message created while
// probing or playing hundreds of files must be finalized once the graphs and the effect
// catalogue are gone: a single message kept too long holds its source element, and through
// it the whole pipeline with its bus and poll descriptors.
#include <gst/gst.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "effects/gst/effect_catalogue.h"
#include "media_graph_fixture.h"
#include "playback/gst/media_probe.h"
#include "playback/gst/preroll_job.h"
#include "songlist/core/song_list.h"
#include "songlist/core/song_searcher.h"
#include "support/open_blocker.h"
#include "support/program_run.h"

using namespace testsupport;

namespace {

// The watched objects (elements and bins, buses, pads, messages) that the leaks tracer saw
// created since construction and not finalized since.
class LiveObjects {
  public:
    LiveObjects() {
        GList* tracers = gst_tracing_get_active_tracers();
        for (GList* item = tracers; item; item = item->next)
            if (!tracer_ && g_strcmp0(G_OBJECT_TYPE_NAME(item->data), "GstLeaksTracer") == 0)
                tracer_ = GST_TRACER(gst_object_ref(item->data));
        g_list_free_full(tracers, gst_object_unref);
        if (tracer_)
            g_signal_emit_by_name(tracer_, "activity-start-tracking");
    }
    ~LiveObjects() {
        if (!tracer_)
            return;
        g_signal_emit_by_name(tracer_, "activity-stop-tracking");
        gst_object_unref(tracer_);
    }
    LiveObjects(const LiveObjects&) = delete;
    LiveObjects& operator=(const LiveObjects&) = delete;

    bool tracking() const { return tracer_ != nullptr; }
    std::size_t count() const { return alive_.size(); }

    // "GstBus 200, GstPipeline 200, ..." of what is alive, or "" when nothing is. Streaming
    // threads that are still winding down get up to two seconds to let go.
    std::string remaining() {
        for (int tries = 0; tries < 200 && (update(), !alive_.empty()); ++tries)
            g_usleep(10000);
        return now();
    }
    // The same, without waiting for anything to wind down.
    std::string now() {
        update();
        std::map<std::string, int> counts;
        for (const auto& [address, type] : alive_)
            ++counts[type];
        std::ostringstream text;
        for (const auto& [type, count] : counts)
            text << (text.tellp() > 0 ? ", " : "") << type << ' ' << count;
        return text.str();
    }

  private:
    static bool watched(const char* typeName) {
        const GType type = g_type_from_name(typeName);
        for (GType kind : {GST_TYPE_ELEMENT, GST_TYPE_BUS, GST_TYPE_PAD, GST_TYPE_MESSAGE})
            if (type && g_type_is_a(type, kind))
                return true;
        return false;
    }

    // Each entry of a checkpoint list is a structure with "type-name" and "address".
    template <typename Visit>
    static void forEachEntry(const GstStructure* checkpoint, const char* list, Visit visit) {
        const GValue* entries = gst_structure_get_value(checkpoint, list);
        for (guint i = 0; entries && i < gst_value_list_get_size(entries); ++i) {
            const GstStructure* entry =
                gst_value_get_structure(gst_value_list_get_value(entries, i));
            const char* type = gst_structure_get_string(entry, "type-name");
            const char* address = gst_structure_get_string(entry, "address");
            if (type && address && watched(type))
                visit(std::make_pair(std::string(address), std::string(type)));
        }
    }

    // Takes in what the tracer recorded since the previous checkpoint. An object finalized
    // here may have been made before tracking began: it is simply not found.
    void update() {
        GstStructure* checkpoint = nullptr;
        g_signal_emit_by_name(tracer_, "activity-get-checkpoint", &checkpoint);
        if (!checkpoint)
            return;
        forEachEntry(checkpoint, "objects-created-list",
                     [this](auto object) { alive_.insert(std::move(object)); });
        forEachEntry(checkpoint, "objects-removed-list", [this](const auto& object) {
            if (auto found = alive_.find(object); found != alive_.end())
                alive_.erase(found);
        });
        gst_structure_free(checkpoint);
    }

    GstTracer* tracer_ = nullptr;
    std::multiset<std::pair<std::string, std::string>> alive_;  // address, type name
};

class MediaLeaksTest : public MediaGraphTest {
  protected:
    // `count` distinct paths of one file: hard links named <stem>-<n><extension>.
    std::vector<std::string> linksTo(const std::string& file, int count) {
        const std::filesystem::path source(file);
        std::vector<std::string> paths;
        for (int i = 0; i < count; ++i) {
            std::filesystem::path link = source;
            link.replace_filename(source.stem().string() + "-" + std::to_string(i) +
                                  source.extension().string());
            std::filesystem::create_hard_link(source, link);
            paths.push_back(link.string());
        }
        return paths;
    }

    // One short song of each kind the searcher finds.
    std::vector<std::string> songs(double seconds) {
        return {makeWav(dir.path(), "song.wav", seconds), makeMp3(dir.path(), "xing.mp3", seconds),
                makeCbrMp3WithoutXing(dir.path(), "cbr.mp3", seconds),
                makeAvi(dir.path(), "clip.avi", seconds, seconds, AviAudio::Mp3)};
    }
};

TEST_F(MediaLeaksTest, ProbingHundredsOfFilesLeavesNoObjectBehind) {
    std::vector<std::string> files;
    for (const std::string& song : songs(0.3))
        for (std::string& path : linksTo(song, 200))
            files.push_back(std::move(path));
    LiveObjects live;
    if (!live.tracking())
        GTEST_SKIP() << "run with GST_TRACERS=leaks";

    int failed = 0;
    {
        MediaGraph probe(MediaGraph::Mode::Probe);
        for (const std::string& path : files)
            if (probe.Open(path, true) != 0 && ++failed <= 3)
                ADD_FAILURE() << "probe of " << path << ": " << probe.GetErrorText(256);
    }
    EXPECT_EQ(failed, 0);
    const std::string alive = live.remaining();
    EXPECT_TRUE(alive.empty()) << "alive after probing " << files.size() << " files: " << alive;
}

namespace {
std::size_t entriesIn(const char* folder) {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
        ++count;
    return count;
}
}  // namespace

// The probe keeps its pipeline from file to file, so nothing may pile up in it: what it
// holds after the first round of files it holds after the fiftieth.
TEST_F(MediaLeaksTest, AReusedProbeHoldsNoMoreAfterHundredsOfFilesThanAfterTheFirstFew) {
    std::vector<std::string> files = songs(0.3);
    // Its second sound track goes to a fakesink of its own.
    const std::string track = "audiotestsrc num-buffers=10 ! audio/x-raw,format=S16LE ! ";
    files.push_back(dir.file("two-tracks.avi"));
    runPipeline(track + "avimux name=mux ! filesink name=out " + track + "mux.", files.back());
    files.push_back(makeVideoOnly(dir.path(), "silent.avi", 0.3));
    files.push_back(makeRandomBytes(dir.path(), "noise.mp3", 20000));
    LiveObjects live;
    MediaGraph probe(MediaGraph::Mode::Probe);
    struct Held {
        std::string objects;
        std::size_t objectCount, descriptors, threads;
    };
    auto held = [&] {
        std::string objects = live.tracking() ? live.now() : "";
        return Held{objects, live.count(), entriesIn("/proc/self/fd"),
                    entriesIn("/proc/self/task")};
    };
    // A file that fails gets the next one a new pipeline: those come first, so the one
    // pipeline counted serves every later file.
    for (std::size_t i = 5; i < files.size(); ++i)
        ASSERT_EQ(probe.Open(files[i], true), -1) << files[i];
    Held first{};
    for (int round = 0; round < 60; ++round) {
        for (std::size_t i = 0; i < 5; ++i)
            ASSERT_EQ(probe.Open(files[i], true), 0) << "round " << round << ": " << files[i];
        if (round == 0)
            first = held();
    }
    // A message may be on its way from a streaming thread; what leaked stays.
    Held last = held();
    for (int tries = 0; tries < 100 && last.objectCount > first.objectCount; ++tries) {
        g_usleep(20000);
        last = held();
    }
    if (live.tracking()) {
        EXPECT_LE(last.objectCount, first.objectCount)
            << "first: " << first.objects << "\nlast: " << last.objects;
    }
    EXPECT_LE(last.descriptors, first.descriptors);
    // Streaming threads of the last pipelines may still be winding down.
    EXPECT_LE(last.threads, first.threads + 2);
}

TEST_F(MediaLeaksTest, PlayingSongsWithEffectsLeavesNoObjectBehind) {
    const std::vector<std::string> files = songs(0.3);
    LiveObjects live;
    if (!live.tracking())
        GTEST_SKIP() << "run with GST_TRACERS=leaks";
    {
        EffectCatalogue catalogue;
        catalogue.fill();
        int chosen = 0;
        for (int i = 0; i < catalogue.effectCount(); ++i) {
            const std::string name = catalogue.effectName(i);
            if (name == "Volume" || name == "Audio echo") {
                catalogue.select(i);
                ++chosen;
            }
        }
        if (chosen == 0)
            GTEST_SKIP() << "neither volume nor audioecho is installed";
        MediaGraph graph;
        if (rendererMissing(graph))
            GTEST_SKIP() << "the discard renderer's plug-in is missing";
        graph.setEffects(&catalogue);
        // Every other song plays to its end; the rest are cut short by the next Open, or
        // now and then by Close, as the player's commands do.
        for (int song = 0; song < 50; ++song) {
            const std::string& path = files[song % files.size()];
            ASSERT_EQ(graph.Open(path, true), 0) << "song " << song << ": " << path;
            ASSERT_EQ(graph.Run(nullptr), 0) << "song " << song << ": " << path;
            if (song % 2 == 0)
                EXPECT_EQ(waitForEvent(graph, 5.0), 1) << "song " << song << ": " << path;
            else
                g_usleep(50000);
            if (song % 5 == 4)
                graph.Close();
        }
    }
    const std::string alive = live.remaining();
    EXPECT_TRUE(alive.empty()) << "alive after playing 50 songs: " << alive;
}

}  // namespace

// A file whose open() never returns (a network mount that stopped answering) costs an
// Open its bound, in the player as in the search's probe, and the graph stays usable. Its
// pipeline goes once the call returns at last, leaving nothing behind. A FIFO is refused
// without being opened.
// Songs that follow one another without a gap, and prepared songs dropped before their
// turn (every third), leave nothing behind either: parts, inputs, renderers, messages.
TEST_F(MediaLeaksTest, SongsThatFollowOrAreDroppedLeaveNoObjectBehind) {
    const std::vector<std::string> files = songs(0.3);
    LiveObjects live;
    if (!live.tracking())
        GTEST_SKIP() << "run with GST_TRACERS=leaks";
    {
        MediaGraph graph;
        if (rendererMissing(graph))
            GTEST_SKIP() << "the discard renderer's plug-in is missing";
        ASSERT_EQ(graph.Open(files[0], true), 0);
        ASSERT_EQ(graph.Run(nullptr), 0);
        for (int song = 1; song < 30; ++song) {
            const std::string& path = files[song % files.size()];
            ASSERT_TRUE(graph.prepareNext(path, 0)) << "song " << song << ": " << path;
            if (song % 3 == 0) {
                g_usleep(20000);
                graph.dropNext();
                EXPECT_EQ(waitForEvent(graph, 5.0), 1) << "song " << song << ": " << path;
                ASSERT_EQ(graph.Open(path, true), 0);
                ASSERT_EQ(graph.Run(nullptr), 0);
                continue;
            }
            EXPECT_EQ(waitForEvent(graph, 5.0), 1) << "song " << song << ": " << path;
            EXPECT_TRUE(graph.nextJoined()) << "song " << song << ": " << path;
        }
    }
    const std::string alive = live.remaining();
    EXPECT_TRUE(alive.empty()) << "alive after 30 songs joined or dropped: " << alive;
}

TEST_F(MediaLeaksTest, AFileStuckOpeningFailsInTimeAndIsReleasedWhenItsCallReturns) {
    const std::string song = makeWav(dir.path(), "stuck.wav", 0.3);
    ASSERT_EQ(::mkfifo(dir.file("fifo.wav").c_str(), 0644), 0);
    LiveObjects live;
    for (MediaGraph::Mode mode : {MediaGraph::Mode::Playback, MediaGraph::Mode::Probe}) {
        MediaGraph graph(mode);
        OpenBlocker blocker(song);
        ASSERT_TRUE(blocker.holding());
        Clock::time_point start = Clock::now();
        EXPECT_EQ(graph.Open(song, true), -1);
        EXPECT_LT(secondsSince(start), MediaGraph::kOpenTimeoutMs / 1000.0 + 1);
        start = Clock::now();
        EXPECT_EQ(graph.Open(dir.file("fifo.wav"), true), -1);
        EXPECT_LT(secondsSince(start), 1);
        blocker.release();
        EXPECT_EQ(graph.Open(song, true), 0) << graph.GetErrorText(256);
    }
    EXPECT_TRUE(waitUntil(5, [] { return PrerollJob::leftBehind() == 0; }));
    const std::string alive = live.remaining();
    EXPECT_TRUE(alive.empty()) << alive;
}

// A stuck file in the middle of a folder costs the search its bound; the rest is probed.
TEST_F(MediaLeaksTest, ASearchGoesOnPastAFileStuckOpening) {
    const std::vector<std::string> files = {makeWav(dir.path(), "a.wav", 0.3),
                                            makeWav(dir.path(), "b.wav", 0.3),
                                            makeWav(dir.path(), "c.wav", 0.3)};
    OpenBlocker blocker(files[1]);
    ASSERT_TRUE(blocker.holding());
    SongList list;
    SongSearcher searcher(list, makeMediaProbeFactory());
    searcher.kind = Folder;
    searcher.selection = dir.path();
    searcher.setPatterns("*.wav");
    searcher.run();
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.pathAt(1), files[2]);
}
