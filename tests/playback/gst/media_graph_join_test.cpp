// A song prepared beside the running one follows it without a gap when its file opens,
// with a report block of its own; one that can't open, or that is dropped, leaves the
// running song to end as it would have, and its next Open handles the file as always.
#include <sys/stat.h>

#include <functional>

#include "media_graph_fixture.h"
#include "support/program_run.h"

namespace {

const testsupport::TagSet kTags{"Bee", "Two", ""};

struct FollowRow {
    const char* name;
    std::function<std::string(const std::string& dir)> make;
    bool follows;
    bool dropped = false;
};

const FollowRow kFollowRows[] = {
    {"Wav", [](const std::string& d) { return testsupport::makeWav(d, "b.wav", 0.6, kTags); },
     true},
    {"Mp3", [](const std::string& d) { return testsupport::makeMp3(d, "b.mp3", 0.6, kTags); },
     true},
    {"AviWithPicture",
     [](const std::string& d) {
         return testsupport::makeAvi(d, "b.avi", 0.6, 0.6, testsupport::AviAudio::Pcm, 320, 240,
                                     kTags);
     },
     true},
    {"Fifo",
     [](const std::string& d) {
         const std::string path = d + "/b.wav";
         ::mkfifo(path.c_str(), 0644);
         return path;
     },
     false},
    {"Corrupt", [](const std::string& d) { return testsupport::makeRandomBytes(d, "b.wav", 8192); },
     false},
    {"NoSound", [](const std::string& d) { return testsupport::makeVideoOnly(d, "b.avi", 0.6); },
     false},
    {"Dropped", [](const std::string& d) { return testsupport::makeWav(d, "b.wav", 0.6); }, false,
     true},
};

}  // namespace

TEST_F(MediaGraphTest, APreparedSongFollowsOnlyWhenItOpens) {
    for (const FollowRow& row : kFollowRows) {
        SCOPED_TRACE(row.name);
        testsupport::TempDir folder;
        const std::string first = testsupport::makeWav(folder.path(), "a.wav", 0.6);
        const std::string next = row.make(folder.path());
        const std::string report = folder.file("graph.fil");
        MediaGraph graph;
        graph.setReportPath(report);
        ASSERT_EQ(graph.Open(first, true), 0);
        ASSERT_EQ(graph.Run(nullptr), 0);
        graph.setReportPath(report);
        ASSERT_TRUE(graph.prepareNext(next, 0));
        EXPECT_FALSE(graph.prepareNext(next, 0)) << "one prepared song at a time";
        if (row.dropped) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            graph.dropNext();
        }

        EXPECT_EQ(waitForEvent(graph, 5.0), 1);
        EXPECT_EQ(graph.nextJoined(), row.follows);
        EXPECT_EQ(graph.songPath(), row.follows ? next : first);
        EXPECT_EQ(testsupport::reportBlocks(report), row.follows ? 2 : 1);
        if (row.follows) {
            // The song that followed has its own texts and plays to its own end, once.
            std::string title;
            EXPECT_EQ(graph.GetContentText(Title, title), 0);
            EXPECT_EQ(title, "Two");
            EXPECT_GT(graph.GetDuration(), 0.5);
            EXPECT_EQ(waitForEvent(graph, 5.0), 1);
            EXPECT_FALSE(graph.nextJoined());
            EXPECT_EQ(waitForEvent(graph, 0.3), 0);
        }
    }
}
