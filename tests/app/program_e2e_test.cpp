// The real program from start to end: started on a folder of three songs with the
// session set to end the program, it plays them, writes its ini file and a pipeline
// report block per song, and exits by itself.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "support/temp_dir.h"
#include "support/test_media.h"

namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

int countOccurrences(const std::string& text, const std::string& what) {
    int count = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

TEST(Program, PlaysAFolderGivenOnTheCommandLineAndEndsByItself) {
    const char* binDir = std::getenv("VORN_BIN_DIR");
    ASSERT_NE(binDir, nullptr);
    testsupport::TempDir dir;
    const std::string songs = dir.subdir("songs");
    testsupport::makeWav(songs, "a.wav", 1.0);
    testsupport::makeMp3(songs, "b.mp3", 1.0);
    testsupport::makeWav(songs, "c.wav", 1.0);
    const std::string ini = dir.file("tvorn.ini");
    const std::string report = dir.file("report.fil");
    std::ofstream(ini) << "[OhterSettings]\nisEndAndPlay=1\nfilter=" << report << "\n";

    const std::string command = "timeout 90 " + shellQuoted(std::string(binDir) + "/vorn") +
                                " --ini " + shellQuoted(ini) + " " + shellQuoted(songs) + " > " +
                                shellQuoted(dir.file("out.txt")) + " 2>&1";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status)) << readFile(dir.file("out.txt"));
    EXPECT_EQ(WEXITSTATUS(status), 0) << readFile(dir.file("out.txt"));

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
    EXPECT_EQ(countOccurrences(readFile(report), std::string(70, '-') + "\r\n"), 3);
}

}  // namespace
