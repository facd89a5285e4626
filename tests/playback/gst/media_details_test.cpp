// What the desktop's media widgets show of a song beyond its texts: album and track number
// from its tags, and a cover: the picture in its folder, else the one in its tags, written
// once into the cover cache ($XDG_CACHE_HOME is the build tree's, see media_graph.cmake).
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "media_graph_fixture.h"
#include "playback/gst/cover_cache.h"

using namespace testsupport;

namespace {

const TagSet kAlbumTags{"Artist", "Title", "", "夜明け ～Live～", 7};

enum class Song { Mp3, Ogg, Wav };

struct DetailsCase {
    std::string name;
    Song song;
    bool tagged;                           // kAlbumTags, else none
    bool picture;                          // a JPEG in the tags (MP3 only)
    std::vector<std::string> folderFiles;  // beside the song
    std::string cover;                     // expected: one of folderFiles, or "" for none
};

void PrintTo(const DetailsCase& row, std::ostream* out) {
    *out << row.name;
}

const std::vector<DetailsCase> kCases = {
    {"Id3v2AlbumAndTrack", Song::Mp3, true, false, {"cover.gif", "covers.jpg", "cover"}, ""},
    {"VorbisCommentAlbumAndTrack", Song::Ogg, true, false, {}, ""},
    {"NoTags", Song::Wav, false, false, {}, ""},
    {"FolderCoverBeforeTheTags",
     Song::Mp3,
     true,
     true,
     {"album.png", "Cover.JPG", "front.jpeg"},
     "Cover.JPG"},
    {"FolderCoverByNameThenType",
     Song::Wav,
     false,
     false,
     {"folder.png", "FOLDER.jpeg"},
     "FOLDER.jpeg"},
};

std::string makeSong(const std::string& dir, Song song, const TagSet& tags,
                     const std::string& picture) {
    if (song == Song::Ogg)
        return makeMedia(dir, "song.ogg", {"oggmux", "vorbisenc", ""}, 0.5, 440, tags);
    if (song == Song::Wav)
        return makeWav(dir, "song.wav", 0.5);
    std::string path = makeMedia(
        dir, "song.mp3", {"", "lamemp3enc target=bitrate bitrate=128 ! xingmux", ""}, 0.5, 440);
    prependToFile(path, id3v2Tag(tags, 4, Id3Encoding::Utf8, picture));
    return path;
}

class MediaDetailsTest : public MediaGraphTest,
                         public ::testing::WithParamInterface<DetailsCase> {};

}  // namespace

TEST_P(MediaDetailsTest, AlbumTrackAndFolderCover) {
    const DetailsCase& row = GetParam();
    if (auto missing = missingFactories({"lamemp3enc", "oggmux", "vorbisenc", "jpegenc"});
        !missing.empty())
        GTEST_SKIP() << "this machine lacks " << missing.front();
    std::string folder = dir.subdir("album");
    std::string picture = row.picture ? fileBytes(makeJpeg(dir.path(), "picture.jpg")) : "";
    std::string path = makeSong(folder, row.song, row.tagged ? kAlbumTags : TagSet{}, picture);
    for (const std::string& name : row.folderFiles)
        appendToFile(folder + "/" + name, "picture");
    MediaGraph graph;
    ASSERT_EQ(graph.Open(path, true), 0) << graph.GetErrorText(256);
    SongDetails details = graph.GetSongDetails();
    EXPECT_EQ(details.album, row.tagged ? kAlbumTags.album : "");
    EXPECT_EQ(details.trackNumber, row.tagged ? kAlbumTags.track : 0);
    EXPECT_EQ(details.coverPath, row.cover.empty() ? "" : folder + "/" + row.cover);
    graph.Close();
    EXPECT_EQ(graph.GetSongDetails().album, "");
}

INSTANTIATE_TEST_SUITE_P(Details, MediaDetailsTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<DetailsCase>& test) {
                             return test.param.name;
                         });

// Two songs with one picture share one file, named by the picture's checksum, written once.
TEST_F(MediaGraphTest, ATagPictureIsWrittenOnceIntoTheCoverCache) {
    if (auto missing = missingFactories({"lamemp3enc", "jpegenc"}); !missing.empty())
        GTEST_SKIP() << "this machine lacks " << missing.front();
    if (!g_getenv("XDG_CACHE_HOME"))  // never the user's own cache
        GTEST_SKIP() << "XDG_CACHE_HOME is not set: run it through ctest";
    std::string picture = fileBytes(makeJpeg(dir.path(), "picture.jpg"));
    GCharPtr checksum(g_compute_checksum_for_string(G_CHECKSUM_SHA256, picture.data(),
                                                    static_cast<gssize>(picture.size())));
    std::string expected = coverCacheFolder() + "/" + checksum.get() + ".jpg";
    std::filesystem::remove(expected);  // left by an earlier run

    ino_t firstFile = 0;
    for (const char* name : {"first", "second"}) {
        SCOPED_TRACE(name);
        std::string path = makeSong(dir.subdir(name), Song::Mp3, kAlbumTags, picture);
        MediaGraph graph;
        ASSERT_EQ(graph.Open(path, true), 0) << graph.GetErrorText(256);
        ASSERT_EQ(graph.GetSongDetails().coverPath, expected);
        EXPECT_EQ(fileBytes(expected), picture);
        struct stat file {};
        ASSERT_EQ(stat(expected.c_str(), &file), 0);
        if (firstFile == 0)
            firstFile = file.st_ino;
        EXPECT_EQ(file.st_ino, firstFile);  // g_file_set_contents would have made a new one
    }
}
