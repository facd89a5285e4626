// The main bar's histories: pushing, loading and saving, with the ini file's rules.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/core/history_list.h"
#include "app/core/ini_store.h"
#include "support/temp_dir.h"

namespace {

using testsupport::TempDir;
using Entries = std::vector<std::string>;

HistoryList listOf(const Entries& oldestLast) {
    HistoryList list;
    for (auto it = oldestLast.rbegin(); it != oldestLast.rend(); ++it)
        list.pushHistory(*it);
    return list;
}

TEST(History, SectionsAndKeys) {
    EXPECT_STREQ(historySection(Folder), "FolderHistory");
    EXPECT_STREQ(historySection(File), "FileHistory");
    EXPECT_STREQ(historySection(SongListFile), "SongListHistory");
    EXPECT_EQ(historySection(static_cast<ListType>(7)), nullptr);
    EXPECT_EQ(historyKey(0), "Dir0");
    EXPECT_EQ(historyKey(4), "Dir4");
}

// Paths are compared byte for byte: on this file system "/Music" and "/MUSIC" are two
// folders, so a push that differs in letter case is a new entry.
TEST(History, PushingTheThirdEntryAgainMovesItFirstButACaseVariantIsAnotherEntry) {
    HistoryList list = listOf({"/a", "/b", "/Music/Jazz", "/d"});
    EXPECT_TRUE(list.pushHistory("/Music/Jazz"));
    EXPECT_EQ(list.entries(), (Entries{"/Music/Jazz", "/a", "/b", "/d"}));
    EXPECT_TRUE(list.pushHistory("/music/JAZZ"));
    EXPECT_EQ(list.entries(), (Entries{"/music/JAZZ", "/Music/Jazz", "/a", "/b", "/d"}));
    EXPECT_EQ(list.find("/MUSIC/JAZZ"), std::nullopt);
    EXPECT_EQ(list.find("/Music/Jazz"), 1u);
}

TEST(History, PushingTheFirstEntryAgainChangesNothing) {
    HistoryList list = listOf({"/Music", "/b"});
    EXPECT_FALSE(list.pushHistory("/Music"));  // the caller keeps its edit field as it is
    EXPECT_EQ(list.entries(), (Entries{"/Music", "/b"}));
}

TEST(History, OnlyTheFirstEqualEntryIsRemoved) {
    TempDir dir;
    const std::string path = dir.file("tvorn.ini");
    std::ofstream(path) << "[FileHistory]\nDir0=/x\nDir1=/dup\nDir2=/dup\nDir3=/\xFF\n";
    HistoryList list;
    list.loadHistory(IniStore(path), "FileHistory");
    EXPECT_EQ(list.entries(), (Entries{"/x", "/dup", "/dup", "/\xFF"}));  // duplicates kept
    EXPECT_TRUE(list.pushHistory("/dup"));
    EXPECT_EQ(list.entries(), (Entries{"/dup", "/x", "/dup", "/\xFF"}));
    EXPECT_TRUE(list.pushHistory("/\xFF"));  // raw bytes match only themselves
    EXPECT_EQ(list.entries(), (Entries{"/\xFF", "/dup", "/x", "/dup"}));
}

TEST(History, WholeTextsAreCompared) {
    HistoryList list = listOf({"/a", "/music"});
    EXPECT_TRUE(list.pushHistory("/music/more"));
    EXPECT_TRUE(list.pushHistory("/a|"));
    EXPECT_EQ(list.entries(), (Entries{"/a|", "/music/more", "/a", "/music"}));
}

TEST(History, SevenPushesKeepSevenButExitStoresFive) {
    TempDir dir;
    const std::string path = dir.file("tvorn.ini");
    std::ofstream(path) << "[FolderHistory]\nDir5=/never touched\n";
    HistoryList list;
    for (int i = 1; i <= 7; ++i)
        list.pushHistory("/f" + std::to_string(i));
    EXPECT_EQ(list.size(), 7u);
    IniStore store(path);
    list.saveHistory(store, "FolderHistory");
    ASSERT_TRUE(store.flush());
    IniStore reread(path);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(reread.getString("FolderHistory", historyKey(i), ""),
                  "/f" + std::to_string(7 - i));
    }
    EXPECT_EQ(reread.getString("FolderHistory", "Dir5", ""), "/never touched");
    HistoryList next;
    next.loadHistory(reread, "FolderHistory");
    EXPECT_EQ(next.entries(), (Entries{"/f7", "/f6", "/f5", "/f4", "/f3"}));
}

TEST(History, AGapInTheFileMovesLaterEntriesUpAndTheOldKeyStays) {
    TempDir dir;
    const std::string path = dir.file("tvorn.ini");
    std::ofstream(path) << "[SongListHistory]\nDir0=/one.lst\nDir1=\nDir2=/three.lst\n";
    HistoryList list;
    list.loadHistory(IniStore(path), "SongListHistory");
    EXPECT_EQ(list.entries(), (Entries{"/one.lst", "/three.lst"}));

    IniStore store(path);
    list.saveHistory(store, "SongListHistory");
    ASSERT_TRUE(store.flush());
    HistoryList next;
    next.loadHistory(IniStore(path), "SongListHistory");
    EXPECT_EQ(next.entries(), (Entries{"/one.lst", "/three.lst", "/three.lst"}));
}

TEST(History, AnEmptyPushIsKeptInMemoryButNotWritten) {
    TempDir dir;
    const std::string path = dir.file("tvorn.ini");
    std::ofstream(path) << "[FolderHistory]\nDir0=/old first\nDir1=/old second\n";
    HistoryList list;
    list.loadHistory(IniStore(path), "FolderHistory");
    EXPECT_TRUE(list.pushHistory(""));
    EXPECT_EQ(list.entries(), (Entries{"", "/old first", "/old second"}));
    EXPECT_FALSE(list.pushHistory(""));  // already first

    IniStore store(path);
    list.saveHistory(store, "FolderHistory");
    ASSERT_TRUE(store.flush());
    IniStore reread(path);
    EXPECT_EQ(reread.getString("FolderHistory", "Dir0", ""), "/old first");  // skipped
    EXPECT_EQ(reread.getString("FolderHistory", "Dir1", ""), "/old first");
    EXPECT_EQ(reread.getString("FolderHistory", "Dir2", ""), "/old second");
}

TEST(History, AMissingSectionLoadsEmpty) {
    TempDir dir;
    HistoryList list;
    list.loadHistory(IniStore(dir.file("none.ini")), "FileHistory");
    EXPECT_TRUE(list.empty());
    EXPECT_TRUE(list.pushHistory("/first|"));
    EXPECT_EQ(list.entries(), (Entries{"/first|"}));
}

TEST(History, SavingAllThreeUsesTheirSectionsInOrder) {
    TempDir dir;
    const std::string path = dir.file("tvorn.ini");
    IniStore store(path);
    saveHistories(store, listOf({"/folder"}), listOf({"/a.mp3|/b.mp3|"}), listOf({"/l.lst"}));
    ASSERT_TRUE(store.flush());
    std::ostringstream text;
    text << std::ifstream(path).rdbuf();
    EXPECT_EQ(text.str(),
              "[FolderHistory]\nDir0=/folder\n[FileHistory]\nDir0=/a.mp3|/b.mp3|\n"
              "[SongListHistory]\nDir0=/l.lst\n");
}

TEST(History, AnEntryTheFileCannotHoldLeavesItsKey) {
    TempDir dir;
    const std::string path = dir.file("tvorn.ini");
    std::ofstream(path) << "[FolderHistory]\nDir0=/kept\n";
    HistoryList list;
    list.pushHistory("/second");
    list.pushHistory("/odd\nname");  // a file name may hold a line break
    IniStore store(path);
    list.saveHistory(store, "FolderHistory");
    ASSERT_TRUE(store.flush());
    IniStore reread(path);
    EXPECT_EQ(reread.getString("FolderHistory", "Dir0", ""), "/kept");
    EXPECT_EQ(reread.getString("FolderHistory", "Dir1", ""), "/second");
}

}  // namespace
