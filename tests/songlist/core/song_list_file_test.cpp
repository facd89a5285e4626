#include "songlist/core/song_list_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <future>
#include <regex>
#include <system_error>

#include "songlist/core/song_list.h"
#include "support/file_size_limit.h"
#include "support/temp_dir.h"

namespace {

struct ReadResult {
    int result;
    std::vector<std::string> paths;
};

ReadResult readList(const std::string& path) {
    ReadResult read{0, {}};
    read.result = ReadSongListFile(path, [&](const std::string& p) { read.paths.push_back(p); });
    return read;
}

using Paths = std::vector<std::string>;

using testsupport::FileSizeLimit;

}  // namespace

TEST(SongListFileWriter, WritesHeaderAndOneCrLfLinePerSong) {
    testsupport::TempDir tree;
    SongList list;
    list.append("/m/a.wav", "Author A", "Title A");
    list.append("/m/b.mp3", "", "");
    list.append("/m/\xFF\xFE.avi", "\xE4\xBD\x9C", "t");
    const std::string path = tree.path() + "/out.lst";
    std::string reason = "untouched";
    ASSERT_EQ(writeSongList(path, list, &reason), 0);
    EXPECT_EQ(reason, "untouched");

    const std::string text = testsupport::readFile(path);
    const std::regex expected(
        "#v1000\r\n"
        "# Song List created by \\(tavik Vornel\\) at "
        "[0-3][0-9]/[01][0-9]/20[0-9]{2} [0-2][0-9]:[0-5][0-9]:[0-5][0-9]\r\n"
        "/m/a.wav\tAuthor A\tTitle A\r\n"
        "/m/b.mp3\t\t\r\n"
        "/m/\xFF\xFE.avi\t\xE4\xBD\x9C\tt\r\n");
    EXPECT_TRUE(std::regex_match(text, expected)) << text;
}

TEST(SongListFileWriter, UncreatableFileGivesMinusThreeWithReason) {
    testsupport::TempDir tree;
    SongList list;
    list.append("/m/a.wav", "", "");
    std::string reason;
    const std::string path = tree.path() + "/no/such/folder/out.lst";
    EXPECT_EQ(writeSongList(path, list, &reason), -3);
    EXPECT_FALSE(reason.empty());
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(writeSongList(tree.path(), list, nullptr), -3);  // a folder is no file

    const std::string underFile = tree.write("plain") + "/out.lst";  // no folder to hold it
    reason.clear();
    EXPECT_EQ(writeSongList(underFile, list, &reason), -3);
    EXPECT_EQ(reason, std::generic_category().message(ENOTDIR));
    EXPECT_EQ(testsupport::listedNames(tree.path()), Paths{"plain"});
}

TEST(SongListFileWriter, AFailedSaveKeepsTheOldListAndLeavesNoNewFile) {
    testsupport::TempDir tree;
    const std::string old = "#v1000\r\n/m/old.wav\t\t\r\n";
    const std::string path = tree.write("kept.lst", old);
    SongList list;
    for (int i = 0; i < 200; ++i)
        list.append("/m/song " + std::to_string(i) + ".wav", "author", "title");
    std::string reason;
    {
        FileSizeLimit limit(1000);  // the new list can't be written whole
        EXPECT_EQ(writeSongList(path, list, &reason), -3);
        EXPECT_EQ(writeSongList(tree.path() + "/new.lst", list, nullptr), -3);
    }
    EXPECT_EQ(reason, std::generic_category().message(EFBIG));
    EXPECT_EQ(testsupport::readFile(path), old);
    EXPECT_EQ(testsupport::listedNames(tree.path()),
              Paths{"kept.lst"});                      // no temporary, no new.lst
    EXPECT_EQ(writeSongList(path, list, nullptr), 0);  // room again: the save goes through
    EXPECT_EQ(readList(path).paths.size(), 200u);
}

TEST(SongListFileReader, WrittenListReadsBackWithTheSamePaths) {
    testsupport::TempDir tree;
    SongList list;
    const Paths written = {"/m/\xFF\xFE song.wav", " /m/spaced.mp3 ", "/m/a.wav", "/m/a.wav"};
    for (const auto& p : written)
        list.append(p, "x", "y");
    const std::string path = tree.path() + "/round.lst";
    ASSERT_EQ(writeSongList(path, list, nullptr), 0);
    const ReadResult read = readList(path);
    EXPECT_EQ(read.result, 0);
    EXPECT_EQ(read.paths, written);
}

// Linux names may hold TABs and line breaks, media texts too: what is written reads back
// as the same songs, and what can't be written is left out and counted.
TEST(SongListFileReader, LineBreaksInTextsAndPathsThatCantBeCarried) {
    testsupport::TempDir tree;
    SongList list;
    Paths kept;
    for (int i = 0; i < 19; ++i) {
        kept.push_back("/m/" + std::to_string(i) + "\r.wav");
        list.append(kept.back(), "by\tsomeone\r", "two\nlines\r\nhere");
    }
    for (const char* odd : {"/m/a\tb.wav", "/m/a\nb.wav", "#relative.wav", ""})
        list.append(odd, "", "");
    list.append("/m/" + std::string(kSongListLineMax, 'x'), "", "");
    list.append("/m/long texts.wav", std::string(3000, 'a'), std::string(3000, 't'));
    kept.push_back("/m/long texts.wav");
    const std::string path = tree.path() + "/odd.lst";
    std::size_t leftOut = 0;
    ASSERT_EQ(writeSongList(path, list, nullptr, &leftOut), 0);
    EXPECT_EQ(leftOut, 5u);
    const ReadResult read = readList(path);
    EXPECT_EQ(read.result, 0) << "no line is longer than the reader takes";
    EXPECT_EQ(read.paths, kept);
    EXPECT_NE(testsupport::readFile(path).find("\tby someone \ttwo lines  here\r\n"),
              std::string::npos);
}

TEST(SongListFileReader, AByteOrderMarkAtTheStartIsSkipped) {
    testsupport::TempDir tree;
    const std::string bom = "\xEF\xBB\xBF";
    EXPECT_EQ(readList(tree.write("a.lst", bom + "/m/a.wav\r\n" + bom + "/m/b.wav\n")).paths,
              (Paths{"/m/a.wav", bom + "/m/b.wav"}));
    EXPECT_TRUE(readList(tree.write("c.lst", bom + "#v1000\r\n")).paths.empty());
    EXPECT_TRUE(readList(tree.write("d.lst", bom)).paths.empty());
    EXPECT_EQ(readList(tree.write("e.lst", "\xEF\xBB/x\n")).paths, Paths{"\xEF\xBB/x"});
    const std::string fits(kSongListLineMax, 'p');
    const ReadResult full = readList(tree.write("f.lst", bom + fits + "\n/m/c.wav\n"));
    EXPECT_EQ(full.result, 0) << "the mark does not count against the line";
    EXPECT_EQ(full.paths, (Paths{fits, "/m/c.wav"}));
}

TEST(SongListFileReader, CommentsEmptyLinesAndLineEnds) {
    testsupport::TempDir tree;
    EXPECT_EQ(readList(tree.write("empty.lst")).result, 0);
    EXPECT_TRUE(readList(tree.write("empty.lst")).paths.empty());

    const ReadResult comments = readList(tree.write("c.lst", "#v1000\r\n# note\r\n#/m/x.wav\r\n"));
    EXPECT_EQ(comments.result, 0);
    EXPECT_TRUE(comments.paths.empty());

    // Bare paths, LF only, no version line, no final newline; '#' only counts first.
    const ReadResult bare = readList(tree.write("b.lst", "/m/a.wav\n\n /m/#b.wav\n/m/c.wav"));
    EXPECT_EQ(bare.result, 0);
    EXPECT_EQ(bare.paths, (Paths{"/m/a.wav", " /m/#b.wav", "/m/c.wav"}));

    // The path ends at the first TAB; a lone CR inside a line is text.
    const ReadResult tabs =
        readList(tree.write("t.lst", "/m/a.wav\t\t\r\n\tno path\r\n/m/b\r.wav\r\n"));
    EXPECT_EQ(tabs.paths, (Paths{"/m/a.wav", "/m/b\r.wav"}));
}

TEST(SongListFileReader, OverlongLineIsCutAndEndsTheReading) {
    testsupport::TempDir tree;
    const std::string fits(kSongListLineMax, 'p');
    const ReadResult ok = readList(tree.write("fits.lst", fits + "\r\n/m/next.wav\r\n"));
    EXPECT_EQ(ok.result, 0);
    EXPECT_EQ(ok.paths, (Paths{fits, "/m/next.wav"}));

    const ReadResult longPath = readList(tree.write("long.lst", fits + "tail\n/m/never.wav\n"));
    EXPECT_EQ(longPath.result, -2);
    EXPECT_EQ(longPath.paths, Paths{fits});

    const std::string tabbed = "/m/a.wav\t" + std::string(kSongListLineMax, 'x') + "\n/m/b.wav\n";
    const ReadResult cut = readList(tree.write("tab.lst", "/m/first.wav\n" + tabbed));
    EXPECT_EQ(cut.result, -2);
    EXPECT_EQ(cut.paths, (Paths{"/m/first.wav", "/m/a.wav"}));
}

TEST(SongListFileReader, MissingFileOrFolderCantBeOpened) {
    testsupport::TempDir tree;
    EXPECT_EQ(readList(tree.path() + "/missing.lst").result, -1);
    EXPECT_EQ(readList(tree.path()).result, -1);
}

TEST(SongListFileReader, OnlyRegularFilesAreReadAndAFifoIsRefusedAtOnce) {
    testsupport::TempDir tree;
    const std::string list = tree.write("real.lst", "/m/a.wav\r\n");
    const std::string link = tree.path() + "/link.lst";
    std::filesystem::create_symlink(list, link);
    EXPECT_EQ(readList(link).paths, Paths{"/m/a.wav"});

    const std::string fifo = tree.path() + "/pipe.lst";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    // Holds both ends, so a reader that waits for a writer or for data is set free again
    // by the close below instead of hanging the test.
    const int holder = ::open(fifo.c_str(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::write(holder, "/m/piped.wav\n", 13), 13);
    auto reading = std::async(std::launch::async, [&] { return readList(fifo); });
    const bool returned = reading.wait_for(std::chrono::seconds(30)) == std::future_status::ready;
    ::close(holder);
    EXPECT_TRUE(returned) << "the reader waited on the FIFO";
    const ReadResult read = reading.get();
    EXPECT_EQ(read.result, -1);
    EXPECT_TRUE(read.paths.empty());
}

TEST(SongListFileReader, StopsAsSoonAsKeepGoingSaysNo) {
    testsupport::TempDir tree;
    std::string text = "#v1000\r\n";
    for (int i = 0; i < 5000; ++i)
        text += "/m/" + std::to_string(i) + ".wav\t\t\r\n";
    const std::string path = tree.write("long.lst", text);

    Paths paths;
    int asked = 0;
    const int result = ReadSongListFile(
        path, [&](const std::string& p) { paths.push_back(p); }, [&] { return ++asked <= 100; });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(asked, 101);
    ASSERT_EQ(paths.size(), 100u);
    EXPECT_EQ(paths.back(), "/m/99.wav");

    paths.clear();
    EXPECT_EQ(ReadSongListFile(
                  path, [&](const std::string& p) { paths.push_back(p); }, [] { return true; }),
              0);
    EXPECT_EQ(paths.size(), 5000u);
}
