// The real program from start to end: started on a folder of three songs with the
// session set to end the program, it plays them, writes its ini file and a pipeline
// report block per song, and exits by itself.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "support/program_run.h"
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

}  // namespace
