// Album and track number from a song's tags; its cover from its folder, else from its tags,
// written once into the cover cache ($XDG_CACHE_HOME is the build tree's: media_graph.cmake).
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "media_graph_fixture.h"
#include "playback/gst/cover_cache.h"

using namespace testsupport;

namespace {

const TagSet kAlbum{"Artist", "Title", "", "夜明け ～Live～", 7};

// An MP3 with an ID3v2.4 tag (and the picture, when not empty) in `folder`.
std::string taggedMp3(const std::string& folder, const TagSet& tags, const std::string& picture) {
    std::string path = makeMedia(folder, "song.mp3", {"", "lamemp3enc", ""}, 0.3, 440);
    prependToFile(path, id3v2Tag(tags, 4, Id3Encoding::Utf8, picture));
    return path;
}

struct DetailsCase {
    const char* name;
    TagSet tags;
    std::vector<std::string> folderFiles;
    std::string cover;  // one of folderFiles; "" for none
};
void PrintTo(const DetailsCase& row, std::ostream* out) {
    *out << row.name;
}

class MediaDetailsTest : public MediaGraphTest, public ::testing::WithParamInterface<DetailsCase> {
  protected:
    void SetUp() override {
        if (auto missing = missingFactories({"lamemp3enc", "jpegenc"}); !missing.empty())
            GTEST_SKIP() << "this machine lacks " << missing.front();
        if (!g_getenv("XDG_CACHE_HOME"))  // never the user's own cache
            GTEST_SKIP() << "XDG_CACHE_HOME is not set: run it through ctest";
        picture = fileBytes(makeJpeg(dir.path(), "picture.jpg"));
    }
    std::string picture;
};

}  // namespace

TEST_P(MediaDetailsTest, AlbumTrackAndFolderCover) {
    const DetailsCase& row = GetParam();
    std::string folder = dir.subdir("album");
    std::string path = taggedMp3(folder, row.tags, row.cover.empty() ? "" : picture);
    for (const std::string& name : row.folderFiles)
        appendToFile(folder + "/" + name, "picture");
    MediaGraph graph;
    ASSERT_EQ(graph.Open(path, true), 0) << graph.GetErrorText(256);
    SongDetails details = graph.GetSongDetails();
    EXPECT_EQ(details.album, row.tags.album);
    EXPECT_EQ(details.trackNumber, row.tags.track);
    EXPECT_EQ(details.coverPath, row.cover.empty() ? "" : folder + "/" + row.cover);
}

// The folder's picture comes before the tags' one; names in the order cover, folder, front,
// album, then jpg, jpeg, png.
INSTANTIATE_TEST_SUITE_P(
    Details, MediaDetailsTest,
    ::testing::Values(DetailsCase{"Untagged", {}, {}, ""},
                      DetailsCase{"AlbumAndTrack", kAlbum, {"cover.gif", "covers.jpg"}, ""},
                      DetailsCase{
                          "ByName", kAlbum, {"album.png", "front.jpeg", "Cover.JPG"}, "Cover.JPG"},
                      DetailsCase{"ThenByType", {}, {"folder.png", "FOLDER.jpeg"}, "FOLDER.jpeg"}),
    [](const ::testing::TestParamInfo<DetailsCase>& test) { return test.param.name; });

// Two songs with one picture share one file, named by its checksum and written once.
TEST_F(MediaDetailsTest, ATagPictureIsWrittenOnceIntoTheCoverCache) {
    GCharPtr checksum(g_compute_checksum_for_string(G_CHECKSUM_SHA256, picture.data(),
                                                    static_cast<gssize>(picture.size())));
    std::string expected = coverCacheFolder() + "/" + checksum.get() + ".jpg";
    std::filesystem::remove(expected);  // left by an earlier run
    ino_t firstFile = 0;
    for (const char* folder : {"first", "second"}) {
        MediaGraph graph;
        ASSERT_EQ(graph.Open(taggedMp3(dir.subdir(folder), kAlbum, picture), true), 0);
        ASSERT_EQ(graph.GetSongDetails().coverPath, expected) << folder;
        EXPECT_EQ(fileBytes(expected), picture);
        struct stat file {};
        ASSERT_EQ(stat(expected.c_str(), &file), 0);
        firstFile = firstFile ? firstFile : file.st_ino;
        EXPECT_EQ(file.st_ino, firstFile) << folder;  // a new write makes a new file
    }
}
