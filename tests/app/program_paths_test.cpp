// The real program with the paths Linux users have: names that are not valid UTF-8,
// names that differ only in letter case, file:// addresses, mixed command lines and the
// playlists other players write. Each session ends the program by itself
// (isEndAndPlay); the pipeline report tells how many songs were played.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/program_run.h"
#include "support/temp_dir.h"
#include "support/test_media.h"

namespace {

using testsupport::readFile;
using testsupport::reportBlocks;
using testsupport::runVorn;

class ProgramPaths : public ::testing::Test {
  protected:
    // An ini that ends the program after the session and reports every song played, with
    // `more` (whole lines) after the settings.
    void writeIni(const std::string& more = "", const std::string& settings = "") {
        std::ofstream(ini) << "[OhterSettings]\nisEndAndPlay=1\nfilter=" << report << "\n"
                           << settings << more;
    }
    std::string song(const std::string& folder, const std::string& name) {
        return testsupport::makeWav(folder, name, 0.3);
    }
    // Runs vorn with `arguments` and expects it to end by itself with status 0.
    testsupport::ProgramRun play(const std::vector<std::string>& arguments) {
        testsupport::ProgramRun run = runVorn(arguments, 30);
        EXPECT_TRUE(run.exited) << run.output;
        EXPECT_EQ(run.status, 0) << run.output;
        return run;
    }

    testsupport::TempDir dir;
    std::string ini = dir.file("tvorn.ini");
    std::string report = dir.file("report.fil");
};

TEST_F(ProgramPaths, NamesThatAreNotUtf8PlayFromTheCommandLineAndFromTheHistory) {
    const std::string folder = dir.subdir("M\xFF");
    song(folder, "a\xFE.wav");
    ini = dir.file("set\xFF.ini");
    writeIni();
    const std::string gone = dir.file("gone");

    const testsupport::ProgramRun first = play({"--ini", ini, folder, gone});
    EXPECT_EQ(reportBlocks(report), 1) << first.output;
    EXPECT_NE(first.output.find("vorn: " + gone + ": no such file or folder, skipped\n"),
              std::string::npos)
        << first.output;
    EXPECT_EQ(first.output.find("vorn: vorn:"), std::string::npos) << first.output;
    EXPECT_FALSE(std::filesystem::exists(dir.file("set\xEF\xBF\xBD.ini")));
    EXPECT_NE(readFile(ini).find("Dir0=" + folder + "\n"), std::string::npos) << readFile(ini);

    // Started again without paths, it plays the history's first entry as stored.
    std::string settings = readFile(ini);
    const auto at = settings.find("isStartAndPlay=0");
    ASSERT_NE(at, std::string::npos) << settings;
    std::ofstream(ini) << settings.replace(at, 16, "isStartAndPlay=1");
    play({"--ini", ini});
    EXPECT_EQ(reportBlocks(report), 2);
    const std::string text = readFile(ini);
    EXPECT_NE(text.find("Dir0=" + folder + "\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("Dir1="), std::string::npos) << "no mangled second entry\n" << text;
}

TEST_F(ProgramPaths, AHistoryEntryDifferingInLetterCaseIsAnotherFolder) {
    const std::string upper = dir.subdir("MUSIC");
    const std::string lower = dir.subdir("music");
    song(upper, "a.wav");
    song(upper, "b.wav");
    song(lower, "c.wav");
    writeIni("[FolderHistory]\nDir0=" + upper + "\n");

    play({"--ini", ini, lower});
    EXPECT_EQ(reportBlocks(report), 1);
    const std::string text = readFile(ini);
    EXPECT_NE(text.find("Dir0=" + lower + "\nDir1=" + upper + "\n"), std::string::npos) << text;
}

}  // namespace
