// The search itself, run on the test's thread: what is found, in which order, and how odd
// trees and selections are handled.
#include "songlist/core/song_searcher.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <thread>

#include "songlist/core/song_list.h"
#include "support/song_catalogue.h"
#include "support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kDefaultPatterns = "*.wav;*.mp3;*.avi";

class SearchTest : public testing::Test {
  protected:
    // Runs one search on this thread; returns the paths added.
    std::vector<std::string> search(ListType kind, const std::string& selection,
                                    const std::string& patterns = kDefaultPatterns) {
        SongSearcher searcher(list, songs.probeFactory());
        searcher.kind = kind;
        searcher.selection = selection;
        searcher.setPatterns(patterns);
        searcher.setNotify([this](int result) { notified.push_back(result); });
        EXPECT_EQ(searcher.run(), 0);
        EXPECT_FALSE(searcher.running());
        return paths();
    }
    std::vector<std::string> paths() const {
        std::vector<std::string> all;
        for (int i = 0; i < list.count(); ++i)
            all.push_back(list.pathAt(i));
        return all;
    }

    testsupport::TempDir tree;
    SongList list;
    testsupport::SongCatalogue songs{testsupport::SongCatalogue::Unlisted::ByFileName};
    std::vector<int> notified;
};

}  // namespace

TEST(SongSearcherPatterns, SplitAtSemicolonsWithoutTrimming) {
    SongList list;
    SongSearcher searcher(list, {});
    using Patterns = std::vector<std::string>;
    searcher.setPatterns(kDefaultPatterns);
    EXPECT_EQ(searcher.patterns(), (Patterns{"*.wav", "*.mp3", "*.avi"}));
    searcher.setPatterns("*.wav;;*.Mp3");
    EXPECT_EQ(searcher.patterns(), (Patterns{"*.wav", "", "*.Mp3"}));
    searcher.setPatterns("*.wav; *.mp3;");
    EXPECT_EQ(searcher.patterns(), (Patterns{"*.wav", " *.mp3"}));
    searcher.setPatterns(";");
    EXPECT_EQ(searcher.patterns(), (Patterns{""}));
    searcher.setPatterns("");
    EXPECT_TRUE(searcher.patterns().empty());
}

TEST_F(SearchTest, FolderGivesPatternsInOrderThenSubfoldersDepthFirst) {
    // Made out of order, so the walk can't just echo the order the files were made in.
    for (const char* name : {"z.WAV", "sub10/n.wav", "track 2.wav", "b.mp3", "1.WAV", "sub2/q.wav",
                             "a.wav", "Track 10.wav", "c.avi", "2.wav", "sub1/x.mp3", ".hidden.wav",
                             "notes.txt", "02.wav", "sub1/deep/d.avi", "sub1/y.wav"})
        tree.write(name);
    const std::string& r = tree.path();
    std::vector<std::string> expected;
    for (const char* name : {".hidden.wav", "1.WAV", "02.wav", "2.wav", "a.wav", "track 2.wav",
                             "Track 10.wav", "z.WAV", "b.mp3", "c.avi", "sub1/y.wav", "sub1/x.mp3",
                             "sub1/deep/d.avi", "sub2/q.wav", "sub10/n.wav"})
        expected.push_back(r + "/" + name);
    EXPECT_EQ(search(Folder, r), expected);
    EXPECT_EQ(notified, std::vector<int>{0});
    EXPECT_EQ(list.authorAt(0), "A:" + expected[0].substr(r.size() + 1));
    EXPECT_EQ(list.titleAt(0), "T:" + expected[0].substr(r.size() + 1));
}

TEST_F(SearchTest, FolderEndingInSlashGivesDoubleSlash) {
    tree.write("sub/a.wav");
    EXPECT_EQ(search(Folder, tree.path() + "/"),
              std::vector<std::string>{tree.path() + "//sub/a.wav"});
}

TEST_F(SearchTest, EmptyPatternFindsNothingAndBlankStaysInPattern) {
    for (const char* name : {"a.wav", "b.mp3", " c.mp3"})
        tree.write(name);
    EXPECT_EQ(search(Folder, tree.path(), "*.wav;; *.mp3;"),
              (std::vector<std::string>{tree.path() + "/a.wav", tree.path() + "/ c.mp3"}));
}

TEST_F(SearchTest, FileMatchingTwoPatternsIsAddedTwice) {
    tree.write("a.wav");
    EXPECT_EQ(search(Folder, tree.path(), "*.wav;A.*").size(), 2u);
}

TEST_F(SearchTest, FileSelectionsSplitAtBars) {
    const std::string good1 = tree.write("good1.wav");
    const std::string bad = tree.write("bad.wav");
    const std::string good2 = tree.write("good2.mp3");
    EXPECT_EQ(search(File, good1 + "|" + bad + "|" + good2 + "|"),
              (std::vector<std::string>{good1, good2}));
    EXPECT_EQ(songs.openedPaths(), (std::vector<std::string>{good1, bad, good2}));

    songs.clearProbeLog();
    search(File, "x||y");
    EXPECT_EQ(songs.openedPaths(), (std::vector<std::string>{"x", "", "y"}));
    songs.clearProbeLog();
    search(File, "|x");
    EXPECT_EQ(songs.openedPaths(), (std::vector<std::string>{"", "x"}));
    songs.clearProbeLog();
    search(File, "");
    EXPECT_TRUE(songs.openedPaths().empty());
}

TEST_F(SearchTest, EmptyFolderPieceDoesNotSearchTheRoot) {
    tree.write("one/a.wav");
    tree.write("two/b.wav");
    search(Folder, tree.path() + "/one||" + tree.path() + "/two");
    EXPECT_EQ(paths(),
              (std::vector<std::string>{tree.path() + "/one/a.wav", tree.path() + "/two/b.wav"}));
    EXPECT_EQ(songs.openedPaths().size(), 2u);
}

TEST_F(SearchTest, AuthorAndTitleAreCutOrEmpty) {
    search(File, tree.write("noinfo.wav") + "|" + tree.write("long.wav"));
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.authorAt(0), "");
    EXPECT_EQ(list.titleAt(0), "");
    // The 255-byte limit falls inside a three-byte character, which is left out whole.
    EXPECT_EQ(list.authorAt(1), std::string(254, 'a'));
    EXPECT_EQ(list.titleAt(1), std::string(254, 't'));
}

TEST_F(SearchTest, UnknownKindNotifiesMinusOneAndProbesNothing) {
    tree.write("a.wav");
    search(static_cast<ListType>(7), tree.path());
    EXPECT_EQ(notified, std::vector<int>{-1});
    EXPECT_TRUE(songs.openedPaths().empty());
}

TEST_F(SearchTest, NotifyComesLastWhileStillRunning) {
    tree.write("a.wav");
    tree.write("b.mp3");
    SongSearcher searcher(list, songs.probeFactory());
    searcher.selection = tree.path();
    searcher.setPatterns(kDefaultPatterns);
    bool wasRunning = false;
    int countAtNotify = -1;
    searcher.setNotify([&](int) {
        wasRunning = searcher.running();
        countAtNotify = list.count();
    });
    searcher.run();
    EXPECT_TRUE(wasRunning);
    EXPECT_EQ(countAtNotify, 2);
    EXPECT_FALSE(searcher.running());
    EXPECT_EQ(songs.probesCreated(), 1);
    EXPECT_EQ(songs.probesDestroyed(), 1);
}

TEST_F(SearchTest, LinksBackIntoTheTreeAreNotFollowedAgain) {
    tree.write("a/song.wav");
    fs::create_directory_symlink(tree.path(), tree.path() + "/a/up");
    fs::create_directory_symlink(".", tree.path() + "/a/self");
    testsupport::TempDir outside;
    outside.write("far.mp3");
    fs::create_directory_symlink(outside.path(), tree.path() + "/linked");
    fs::create_symlink("missing", tree.path() + "/dangling.wav");

    const std::vector<std::string> found = search(Folder, tree.path());
    EXPECT_EQ(std::count(found.begin(), found.end(), tree.path() + "/a/song.wav"), 1);
    EXPECT_EQ(std::count(found.begin(), found.end(), tree.path() + "/linked/far.mp3"), 1);
    EXPECT_EQ(found.size(), 2u);
}

TEST_F(SearchTest, FoldersAndFilesThatVanishAreSkipped) {
    tree.write("trigger.wav");
    tree.write("vanish.mp3");
    tree.write("gone/lost.wav");
    songs.onOpen = [this](const std::string& path) {
        if (!path.ends_with("trigger.wav"))
            return;
        fs::remove_all(tree.path() + "/gone");
        fs::remove(tree.path() + "/vanish.mp3");
    };
    EXPECT_EQ(search(Folder, tree.path()), std::vector<std::string>{tree.path() + "/trigger.wav"});
    EXPECT_EQ(notified, std::vector<int>{0});
}

TEST_F(SearchTest, UnreadableFolderIsSkipped) {
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions don't keep root out of a folder";
    tree.write("a.wav");
    tree.write("locked/b.wav");
    fs::permissions(tree.path() + "/locked", fs::perms::none);
    EXPECT_EQ(search(Folder, tree.path()), std::vector<std::string>{tree.path() + "/a.wav"});
}

TEST_F(SearchTest, NamesThatAreNotUtf8AreFoundUnchanged) {
    const std::string odd = tree.write("d\xFF/\xFF\xFEsong.wav");
    EXPECT_EQ(search(Folder, tree.path()), std::vector<std::string>{odd});
}

TEST_F(SearchTest, SongListFilesAreReadInTurn) {
    const std::string a = tree.write("a.wav");
    const std::string b = tree.write("b.mp3");
    const std::string first = tree.write("1.lst", "#v1000\r\n" + a + "\tOld\tText\r\n");
    const std::string second =
        tree.write("2.lst", b + "\n" + tree.path() + "/bad.wav\n" + a + "\n");
    search(SongListFile, first + "|" + tree.path() + "/missing.lst|" + second);
    EXPECT_EQ(paths(), (std::vector<std::string>{a, b, a}));
    EXPECT_EQ(list.authorAt(0), "A:a.wav");  // from the media, not from the list file
    EXPECT_EQ(notified, std::vector<int>{0});
}

// A File selection takes each item by what it is: a folder is searched, a playlist read
// (its texts standing in where the media has none), a file probed; in the order given.
TEST_F(SearchTest, AFileSelectionTakesEachItemByWhatItIs) {
    const std::string inFolder = tree.write("f/a.wav");
    const std::string listed = tree.write("noinfo.wav");
    const std::string named = tree.write("b.mp3");
    const std::string m3u = tree.write("p.m3u", "#EXTINF:5,Who - What\nnoinfo.wav\n");
    const std::string pls = tree.write("p.pls", "[playlist]\nFile1=b.mp3\nTitle1=Ignored\n");
    search(File, tree.path() + "/f|" + m3u + "|" + named + "|" + pls + "|");
    EXPECT_EQ(paths(), (std::vector<std::string>{inFolder, listed, named, named}));
    EXPECT_EQ(list.authorAt(1), "Who");
    EXPECT_EQ(list.titleAt(1), "What");
    EXPECT_EQ(list.titleAt(3), "T:b.mp3") << "the media's own title comes first";
}

namespace {
// A listening UNIX socket at `path`; the descriptor stays open for the test.
int bindSocket(const std::string& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    EXPECT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    return fd;
}
}  // namespace

// Opening a FIFO blocks until a writer comes: no search may ever hand one to the probe,
// nor a socket or device, whether met in a folder, named in a selection or behind a link.
TEST_F(SearchTest, OnlyRegularFilesReachTheProbe) {
    const std::string song = tree.write("song.mp3");
    ASSERT_EQ(::mkfifo((tree.path() + "/pipe.mp3").c_str(), 0644), 0);
    fs::create_symlink("pipe.mp3", tree.path() + "/link.wav");
    const int socketFd = bindSocket(tree.path() + "/socket.wav");
    fs::create_symlink("/dev/null", tree.path() + "/device.avi");

    EXPECT_EQ(search(Folder, tree.path()), std::vector<std::string>{song});
    list.clear();
    const std::string named = tree.path() + "/pipe.mp3|" + tree.path() + "/device.avi|" +
                              tree.path() + "/socket.wav|" + song;
    EXPECT_EQ(search(File, named), std::vector<std::string>{song});
    EXPECT_EQ(songs.openedPaths(), (std::vector<std::string>{song, song}));
    ::close(socketFd);
}

// A stop requested while the probe works ends a selection of named files after that
// file, as it ends a folder walk.
TEST_F(SearchTest, StopEndsAFileSelectionAfterTheFileBeingProbed) {
    SongSearcher searcher(list, songs.probeFactory());
    songs.onOpen = [&](const std::string&) { searcher.requestStop(); };
    searcher.kind = File;
    searcher.selection =
        tree.write("a.wav") + "|" + tree.write("b.wav") + "|" + tree.write("c.wav");
    searcher.run();
    EXPECT_EQ(songs.openedPaths().size(), 1u);
}
