// The real program from start to end: started on a folder of three songs with the
// session set to end the program, it plays them, writes its ini file and a pipeline
// report block per song, and exits by itself; through a real sound server an album
// plays as one stream, each song's first sample right after the last one's.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "support/program_run.h"
#include "support/sound_server.h"
#include "support/temp_dir.h"
#include "support/test_media.h"

namespace {

using testsupport::readFile;

TEST(Program, PlaysAFolderGivenOnTheCommandLineAndEndsByItself) {
    testsupport::TempDir dir;
    const std::string songs = dir.subdir("songs");
    testsupport::makeWav(songs, "a.wav", 1.0);
    testsupport::makeMp3(songs, "b.mp3", 1.0);
    testsupport::makeWav(songs, "c.wav", 1.0);
    const std::string ini = dir.file("tvorn.ini");
    const std::string report = dir.file("report.fil");
    std::ofstream(ini) << "[OhterSettings]\nisEndAndPlay=1\nfilter=" << report << "\n";

    const testsupport::ProgramRun run = testsupport::runVorn({"--ini", ini, songs});
    ASSERT_TRUE(run.exited) << run.output;
    EXPECT_EQ(run.status, 0) << run.output;

    const std::string text = readFile(ini);
    for (const char* key :
         {"isStartAndIcon=", "PlayTime=",     "waitTime=",     "isRepeat=",     "repeatCnt=",
          "isRandom=",       "isEndless=",    "playCnt=",      "useEffect=",    "isStartAndPlay=",
          "isEndAndPlay=1",  "isnoTaskTray=", "slistAddType=", "searchExtent=", "flist=",
          "filter=",         "ListType=0",    "left=",         "top=",          "ICON="})
        EXPECT_NE(text.find(key), std::string::npos) << key << "\n" << text;
    EXPECT_NE(text.find("[FolderHistory]"), std::string::npos) << text;
    EXPECT_NE(text.find("Dir0=" + songs), std::string::npos) << text;

    // One report block per song played: each starts with a line of 70 dashes.
    EXPECT_EQ(testsupport::reportBlocks(report), 3);
}

TEST(Program, AnAlbumPlaysAsOneStreamWithoutAGap) {
    testsupport::SoundServer server;
    if (!server.available())
        GTEST_SKIP() << "no PulseAudio to play to";
    testsupport::TempDir dir;
    const std::string songs = dir.subdir("album");
    // A square wave is never zero, so any silence in the capture is a gap; soft and loud
    // songs take turns, so each loud one's length shows what its joins lost or added.
    // Each is 0.6 s of the server's format: nothing is resampled or converted on the way.
    constexpr int kFrames = 26460;
    int song = 0;
    for (const char* name : {"1.wav", "2.wav", "3.wav", "4.wav", "5.wav"})
        testsupport::runPipeline(
            std::string("audiotestsrc wave=square samplesperbuffer=2646 num-buffers=10 volume=") +
            (++song % 2 == 0 ? "0.8" : "0.3") +
            " ! audio/x-raw,format=S16LE,rate=44100,channels=2 ! wavenc ! filesink location=" +
            songs + "/" + name);
    const std::string ini = dir.file("tvorn.ini");
    const std::string report = dir.file("report.fil");
    std::ofstream(ini) << "[OhterSettings]\nisEndAndPlay=1\nfilter=" << report << "\n";
    const char* testSink = std::getenv("VORN_AUDIO_SINK");
    const std::string sink = testSink ? testSink : "fakesink sync=true";
    unsetenv("VORN_AUDIO_SINK");  // the desktop's sink: the server's

    server.startCapture();
    const testsupport::ProgramRun run = testsupport::runVorn({"--ini", ini, songs});
    const testsupport::JoinFigures heard = testsupport::measureJoins(server.stopCapture());
    setenv("VORN_AUDIO_SINK", sink.c_str(), 1);
    ASSERT_TRUE(run.exited) << run.output;
    EXPECT_EQ(server.streamsOpened(), 1);
    EXPECT_EQ(heard.gaps, 0) << heard.longestGapFrames << " frames the longest";
    EXPECT_EQ(heard.loudSongFrames, (std::vector<std::int64_t>{kFrames, kFrames}));
    EXPECT_EQ(testsupport::reportBlocks(report), 5);
}

}  // namespace
