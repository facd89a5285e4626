#include "songlist/core/song_list.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

TEST(SongList, EmptyListAndAppendedTexts) {
    SongList list;
    EXPECT_EQ(list.count(), 0);
    list.append("/m/a.wav", "author", "title");
    list.append("/m/b.mp3", "", "");
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.pathAt(0), "/m/a.wav");
    EXPECT_EQ(list.authorAt(0), "author");
    EXPECT_EQ(list.titleAt(0), "title");
    EXPECT_EQ(list.authorAt(1), "");
    EXPECT_EQ(list.titleAt(1), "");
}

TEST(SongList, RemoveShiftsLaterEntriesAndClearEmpties) {
    SongList list;
    list.append("only", "", "");
    list.removeAt(0);
    EXPECT_EQ(list.count(), 0);

    for (const char* path : {"p0", "p1", "p2", "p3"})
        list.append(path, "", "");
    list.removeAt(1);
    ASSERT_EQ(list.count(), 3);
    EXPECT_EQ(list.pathAt(0), "p0");
    EXPECT_EQ(list.pathAt(1), "p2");
    EXPECT_EQ(list.pathAt(2), "p3");
    list.removeAt(2);
    EXPECT_EQ(list.count(), 2);
    EXPECT_EQ(list.pathAt(1), "p2");
    list.clear();
    EXPECT_EQ(list.count(), 0);
}

TEST(SongList, SamePathTwiceGivesTwoEntries) {
    SongList list;
    list.append("/m/a.wav", "x", "y");
    list.append("/m/a.wav", "x", "y");
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.pathAt(0), list.pathAt(1));
}

// One thread appends while another reads what it has found below count, as the search
// thread and the user-interface thread do.
TEST(SongList, ConcurrentAppendAndRead) {
    SongList list;
    constexpr int kSongs = 5000;
    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (int i = 0; i < kSongs; ++i)
            list.append(std::to_string(i), "a", "t");
        done = true;
    });
    int seen = 0;
    while (!done || seen < list.count()) {
        const int n = list.count();
        for (; seen < n; ++seen)
            ASSERT_EQ(list.pathAt(seen), std::to_string(seen));
    }
    writer.join();
    EXPECT_EQ(list.count(), kSongs);
}
