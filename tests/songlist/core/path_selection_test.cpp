// The command line's paths as a selection, over a real temporary folder.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "songlist/core/path_selection.h"
#include "songlist/core/playlist_file.h"
#include "songlist/core/selection_text.h"
#include "support/temp_dir.h"

namespace {

using testsupport::TempDir;

class CommandLine : public ::testing::Test {
  protected:
    void SetUp() override {
        rock = dir.subdir("rock");
        jazz = dir.subdir("jazz");
        a = touch("a.wav");
        b = touch("b.mp3");
        list = touch("best.LST");
        other = touch("more.lst");
    }

    std::string touch(const std::string& name) {
        const std::string path = dir.file(name);
        std::ofstream(path) << "x";
        return path;
    }

    TempDir dir;
    std::string rock, jazz, a, b, list, other;
};

TEST_F(CommandLine, OnePathOfEachKind) {
    CommandLineSelection folder = selectionFromPaths({rock});
    EXPECT_EQ(folder.mode, Folder);
    EXPECT_EQ(folder.text, rock);
    EXPECT_TRUE(folder.messages.empty());

    CommandLineSelection file = selectionFromPaths({a});
    EXPECT_EQ(file.mode, File);
    EXPECT_EQ(file.text, a + "|") << "as the file dialog gives one file";

    CommandLineSelection songList = selectionFromPaths({list});
    EXPECT_EQ(songList.mode, SongListFile);
    EXPECT_EQ(songList.text, list);
}

TEST_F(CommandLine, SeveralPathsOfOneKindAreJoinedAsADrop) {
    EXPECT_EQ(selectionFromPaths({rock, jazz}).text, rock + "|" + jazz + "|");
    EXPECT_EQ(selectionFromPaths({a, b}).text, a + "|" + b + "|");
    const CommandLineSelection lists = selectionFromPaths({list, other});
    EXPECT_EQ(lists.mode, SongListFile);
    EXPECT_EQ(lists.text, list + "|" + other + "|");
}

// Folders, files and lists together play all of them, in the order given, as one File
// selection whose search takes each item by what it is.
TEST_F(CommandLine, PathsOfSeveralKindsAreOneFileSelectionInTheOrderGiven) {
    const std::string gone = dir.file("gone");
    const CommandLineSelection selection = selectionFromPaths({gone, a, rock, list, b});
    EXPECT_EQ(selection.mode, File);
    EXPECT_EQ(selection.text, a + "|" + rock + "|" + list + "|" + b + "|");
    ASSERT_EQ(selection.messages.size(), 1u);
    EXPECT_EQ(selection.messages[0], "vorn: " + gone + ": no such file or folder, skipped");
    EXPECT_EQ(selectionFromPaths({rock, list}).text, rock + "|" + list + "|");
}

// What file managers hand over: percent-encoded file:// addresses, decoded to their bytes.
TEST_F(CommandLine, FileAddressesStandForTheirPathsAndOtherAddressesAreSkipped) {
    const std::string song = touch("M\xC3\xBAsica a\xFF.mp3");
    const std::string encoded = "file://" + dir.path() + "/M%C3%BAsica%20a%FF.mp3";
    const CommandLineSelection files =
        selectionFromPaths({encoded, "file://localhost" + dir.path() + "/a.wav"});
    EXPECT_EQ(files.mode, File);
    EXPECT_EQ(files.text, song + "|" + a + "|");
    EXPECT_EQ(selectionFromPaths({"FILE://" + rock}).text, rock);

    const CommandLineSelection elsewhere =
        selectionFromPaths({"http://example.org/a.mp3", "file://far" + a, "file:relative"});
    EXPECT_TRUE(elsewhere.empty());
    ASSERT_EQ(elsewhere.messages.size(), 3u);
    EXPECT_EQ(elsewhere.messages[0],
              "vorn: http://example.org/a.mp3: not a local file (only file:// addresses can be "
              "played), skipped");
}

TEST_F(CommandLine, NothingUsableGivesNoSelection) {
    EXPECT_TRUE(selectionFromPaths({}).empty());
    EXPECT_TRUE(selectionFromPaths({}).messages.empty());
    const CommandLineSelection none = selectionFromPaths({dir.file("x"), "", touch("p|q.wav")});
    EXPECT_TRUE(none.empty());
    EXPECT_EQ(none.messages.size(), 3u);
}

TEST_F(CommandLine, RelativePathsBecomeAbsoluteWithoutTrailingSlashes) {
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    const CommandLineSelection folder = selectionFromPaths({"./rock/"});
    const CommandLineSelection files = selectionFromPaths({"a.wav", "jazz/../b.mp3"});
    std::filesystem::current_path(previous);
    EXPECT_EQ(folder.text, rock);
    EXPECT_EQ(files.text, a + "|" + b + "|");
    EXPECT_EQ(selectionFromPaths({"/"}).text, "/");
}

TEST_F(CommandLine, ArgumentsHandedToAnotherProcessAreAbsoluteAddressesStayAsGiven) {
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    const std::vector<std::string> given =
        absoluteArguments({"a.wav", "rock/", a, "file:///x/y%20z.wav", "http://host/s.mp3"});
    std::filesystem::current_path(previous);
    EXPECT_EQ(given,
              (std::vector<std::string>{a, rock, a, "file:///x/y%20z.wav", "http://host/s.mp3"}));
}

TEST(PlaylistName, EndsInLstM3uM3u8OrPlsInAnyCase) {
    for (const char* name : {"/x/a.lst", "A.LsT", "b.m3u", "c.M3U8", "d.Pls"})
        EXPECT_TRUE(isPlaylistName(name)) << name;
    for (const char* name : {"/x/a.lst.wav", "lst", "", "a.m3u9", "pls"})
        EXPECT_FALSE(isPlaylistName(name)) << name;
}

TEST(SelectionText, DropKeepsTheKindOfTheModeAndSkipsWhatCannotBeRead) {
    TempDir dir;
    const std::string folder = dir.subdir("f");
    const std::string file = dir.file("s.wav");
    std::ofstream(file) << "x";
    const std::vector<std::string> items{file, dir.file("missing"), folder, ""};
    EXPECT_EQ(dropSelection(items, Folder), folder + "|");
    EXPECT_EQ(dropSelection(items, File), file + "|");
    EXPECT_EQ(dropSelection(items, SongListFile), file + "|");
    EXPECT_EQ(dropSelection({}, File), "");
    EXPECT_EQ(pathKind(dir.file("missing")), PathKind::Missing);
    if (geteuid() != 0) {
        // An item inside a folder that can't be searched: its attributes can't be read.
        const std::string locked = dir.subdir("locked");
        std::ofstream(locked + "/in.wav") << "x";
        std::filesystem::permissions(locked, std::filesystem::perms::none);
        EXPECT_EQ(pathKind(locked + "/in.wav"), PathKind::Unreadable);
        EXPECT_EQ(dropSelection({locked + "/in.wav"}, File), "");
        std::filesystem::permissions(locked, std::filesystem::perms::owner_all);
    }
}

}  // namespace
