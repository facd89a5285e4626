// The playlists other players write (M3U, M3U8, PLS), read from real bytes, and the M3U8
// writer, whose files read back as the same songs.
#include "songlist/core/playlist_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "songlist/core/file_uri.h"
#include "songlist/core/m3u_file.h"
#include "songlist/core/song_list.h"
#include "support/temp_dir.h"

namespace {

struct Read {
    int result = 0;
    std::vector<PlaylistEntry> entries;
    std::vector<std::string> paths() const {
        std::vector<std::string> all;
        for (const PlaylistEntry& entry : entries)
            all.push_back(entry.path);
        return all;
    }
};

Read readAll(const std::string& path) {
    Read read;
    read.result =
        readPlaylistFile(path, [&](const PlaylistEntry& entry) { read.entries.push_back(entry); });
    return read;
}

using Paths = std::vector<std::string>;

void expectTexts(const PlaylistEntry& entry, const std::string& author, const std::string& title) {
    EXPECT_EQ(entry.author, author) << entry.path;
    EXPECT_EQ(entry.title, title) << entry.path;
}

TEST(M3uReader, ReadsWhatPlayersWrite) {
    testsupport::TempDir tree;
    const std::string root = tree.path();
    const Read read =
        readAll(tree.write("mix.m3u8",
                           "\xEF\xBB\xBF#EXTM3U\r\n"
                           "#EXTINF:123,Artist - Title, with comma\r\n"
                           "sub/a.mp3\r\n"
                           "\r\n"
                           "# a comment\r\n"
                           "/abs/b.wav\n"
                           "#EXTINF:-1 tvg-name=\"x,y\",Only Title\n"
                           "file:///m/M%C3%BAsica/a%20b%FF.mp3\n"
                           "http://radio.example/stream\n"
                           "  spaced.ogg  \n" +
                               std::string(kPlaylistLineMax + 10, 'x') + "\n" + "last.wav"));
    EXPECT_EQ(read.result, 0);
    ASSERT_EQ(read.paths(),
              (Paths{root + "/sub/a.mp3", "/abs/b.wav", "/m/M\xC3\xBAsica/a b\xFF.mp3",
                     root + "/spaced.ogg", root + "/last.wav"}));
    expectTexts(read.entries[0], "Artist", "Title, with comma");
    expectTexts(read.entries[1], "", "");
    expectTexts(read.entries[2], "", "Only Title");
    expectTexts(read.entries[3], "", "");

    // No header, bare paths: as a simple .m3u; any letter case of the suffix.
    EXPECT_EQ(readAll(tree.write("plain.M3U", "a.mp3\n/b.mp3")).paths(),
              (Paths{root + "/a.mp3", "/b.mp3"}));
    EXPECT_EQ(readAll(root + "/missing.m3u").result, -1);
}

TEST(PlsReader, ReadsEntriesInNumberOrderWhateverTheLinesSay) {
    testsupport::TempDir tree;
    const std::string root = tree.path();
    const Read read = readAll(tree.write("list.pls",
                                         "\xEF\xBB\xBF[playlist]\r\n"
                                         "NumberOfEntries=1\r\n"
                                         "File10=file:///m/ten.mp3\r\n"
                                         "File2 = b.mp3\r\n"
                                         "Title1=X - Y\r\n"
                                         "file1=/abs/a.wav\r\n"
                                         "Length1=10\r\n"
                                         "Title3=no file\r\n"
                                         "File4=http://radio.example/\r\n"
                                         "FileX=/not/a/number.wav\r\n"
                                         "[other]\r\n"
                                         "File5=/not/in/playlist.wav\r\n"
                                         "[PLAYLIST]\r\n"
                                         "Version=2\r\n"
                                         "File6=/six.wav\r\n"));
    EXPECT_EQ(read.result, 0);
    ASSERT_EQ(read.paths(), (Paths{"/abs/a.wav", root + "/b.mp3", "/six.wav", "/m/ten.mp3"}));
    expectTexts(read.entries[0], "X", "Y");
    expectTexts(read.entries[1], "", "");
}

TEST(FileUri, LocalAddressesDecodeAndOthersAreNamedSo) {
    EXPECT_EQ(pathOfUri("file:///a%20b/%E6%9B%B2").path, "/a b/\xE6\x9B\xB2");
    EXPECT_EQ(pathOfUri("file:/a").path, "/a");
    EXPECT_EQ(pathOfUri("file://LocalHost/a?x#y").path, "/a");
    EXPECT_EQ(pathOfUri("file:///100%").path, "/100%");
    for (const char* other : {"file://host/a", "file:a", "file:///a%00b", "smb://h/a", "file://"})
        EXPECT_EQ(pathOfUri(other).kind, UriKind::Other) << other;
    for (const char* plain : {"/a", "a:b.mp3", "C:\\music", "rel/file:x", ""})
        EXPECT_EQ(pathOfUri(plain).kind, UriKind::NotUri) << plain;
    const std::string odd = "/m/a b\t#?%\xFF\n";
    EXPECT_EQ(pathOfUri(fileUriOf(odd)).path, odd);
}

// Whatever the names, an M3U8 written by the player reads back as the same songs.
TEST(M3u8Writer, WritesUtf8WithDurationsAndReadsBackTheSamePaths) {
    testsupport::TempDir tree;
    SongList list;
    list.append("/m/a.wav", "Au", "Ti", 61.7);
    list.append("/m/b.mp3", "", "Only\ntitle");
    list.append("/m/\xFF odd.wav", "", "");
    list.append("/m/line\nbreak.mp3", "", "");
    list.append("/m/trailing ", "", "");
    list.append("#relative.wav", "", "");
    const std::string longest = "/m/" + std::string(4000, '\xFF');  // thrice as long as an address
    list.append(longest, "", "");
    const std::string path = tree.path() + "/out.m3u8";
    ASSERT_EQ(writeListFile(path, list, nullptr, nullptr), 0);
    const std::string text = testsupport::readFile(path);
    EXPECT_EQ(
        text.rfind("#EXTM3U\n#EXTINF:61,Au - Ti\n/m/a.wav\n#EXTINF:-1,Only title\n/m/b.mp3\n", 0),
        0u)
        << text;

    const Read read = readAll(path);
    const std::string cwd = std::filesystem::current_path().string();
    EXPECT_EQ(read.paths(), (Paths{"/m/a.wav", "/m/b.mp3", "/m/\xFF odd.wav", "/m/line\nbreak.mp3",
                                   "/m/trailing ", cwd + "/#relative.wav", longest}));
    expectTexts(read.entries[0], "Au", "Ti");
    expectTexts(read.entries[1], "", "Only title");

    std::string reason;
    EXPECT_EQ(writeListFile(tree.path() + "/no/folder.m3u", list, &reason, nullptr), -3);
    EXPECT_FALSE(reason.empty());
}

}  // namespace
