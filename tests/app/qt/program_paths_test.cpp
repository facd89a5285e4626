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

// What a desktop hands over: a file address, folders, files and playlists together; all
// of them play, in the order given, and the history keeps the session as one entry.
TEST_F(ProgramPaths, AddressesFoldersFilesAndPlaylistsTogetherPlayInTheOrderGiven) {
    const std::string music = dir.subdir("M\xC3\xBAsica");
    song(music, "a b.wav");
    const std::string folder = dir.subdir("folder");
    song(folder, "1.wav");
    song(folder, "2.wav");
    const std::string lists = dir.subdir("lists");
    song(lists, "listed.wav");
    const std::string m3u = dir.file("lists/mix.m3u8");
    std::ofstream(m3u) << "\xEF\xBB\xBF#EXTM3U\r\n#EXTINF:1,A - T\r\nlisted.wav\r\nmissing.wav\r\n";
    const std::string pls = dir.file("lists/more.pls");
    std::ofstream(pls) << "[playlist]\nNumberOfEntries=1\nFile1=" << folder << "/1.wav\n";
    writeIni();

    const testsupport::ProgramRun run =
        play({"--ini", ini, "file://" + dir.path() + "/M%C3%BAsica/a%20b.wav", folder, m3u, pls,
              "http://example.org/a.mp3"});
    EXPECT_EQ(reportBlocks(report), 5) << run.output;
    EXPECT_NE(run.output.find("vorn: http://example.org/a.mp3: not a local file"),
              std::string::npos)
        << run.output;
    const std::string text = readFile(ini);
    EXPECT_NE(text.find("[FileHistory]\nDir0=" + music + "/a b.wav|" + folder + "|" + m3u + "|" +
                        pls + "|\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("ListType=1"), std::string::npos) << text;

    // A playlist alone is a song list selection.
    play({"--ini", ini, pls});
    EXPECT_EQ(reportBlocks(report), 6);
    EXPECT_NE(readFile(ini).find("[SongListHistory]\nDir0=" + pls + "\n"), std::string::npos);
}

}  // namespace
