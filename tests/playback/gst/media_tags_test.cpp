// Artist and title come from every kind of tag a user's files carry, non-ASCII texts
// intact, both for the searcher's probe and for the player.
#include <gtest/gtest.h>

#include "media_graph_fixture.h"

using namespace testsupport;

namespace {

constexpr double kSeconds = 0.5;
const TagSet kJapanese{"山田 花子", "夜明けの歌 ～ライブ～", ""};
const TagSet kLatin1{"Björk Guðmundsdóttir", "Café à la crème", ""};

std::string mp3(const std::string& dir) {
    return makeMedia(dir, "song.mp3", {"", "lamemp3enc target=bitrate bitrate=128 ! xingmux", ""},
                     kSeconds, 440);
}

std::string withId3v2(const std::string& path, int version, Id3Encoding encoding,
                      const TagSet& tags) {
    prependToFile(path, id3v2Tag(tags, version, encoding));
    return path;
}

struct TaggedFile {
    std::string name;
    std::string (*make)(const std::string& dir);
    std::vector<std::string> needs;
    TagSet expected;
};

void PrintTo(const TaggedFile& file, std::ostream* out) {
    *out << file.name;
}

const std::vector<TaggedFile> kTaggedFiles = {
    {"Id3v1Latin1",
     [](const std::string& dir) {
         std::string path = mp3(dir);
         appendToFile(path, id3v1Tag(kLatin1));
         return path;
     },
     {"lamemp3enc"},
     kLatin1},
    {"Id3v23Utf16",
     [](const std::string& dir) { return withId3v2(mp3(dir), 3, Id3Encoding::Utf16, kJapanese); },
     {"lamemp3enc"},
     kJapanese},
    {"Id3v24Utf8",
     [](const std::string& dir) { return withId3v2(mp3(dir), 4, Id3Encoding::Utf8, kJapanese); },
     {"lamemp3enc"},
     kJapanese},
    {"Id3v23Latin1",
     [](const std::string& dir) { return withId3v2(mp3(dir), 3, Id3Encoding::Latin1, kLatin1); },
     {"lamemp3enc"},
     kLatin1},
    // A file with both keeps the full texts of version 2, not the short ones of version 1.
    {"Id3v24BeforeId3v1",
     [](const std::string& dir) {
         std::string path = withId3v2(mp3(dir), 4, Id3Encoding::Utf8, kJapanese);
         appendToFile(path, id3v1Tag({"Old Artist", "Old Title", ""}));
         return path;
     },
     {"lamemp3enc"},
     kJapanese},
    {"WavId3Chunk",
     [](const std::string& dir) {
         std::string path = makeWav(dir, "song.wav", kSeconds);
         appendRiffChunk(path, "id3 ", id3v2Tag(kJapanese, 3, Id3Encoding::Utf16));
         return path;
     },
     {"wavenc"},
     kJapanese},
    {"WavId3v1",
     [](const std::string& dir) {
         std::string path = makeWav(dir, "song.wav", kSeconds);
         appendToFile(path, id3v1Tag(kLatin1));
         return path;
     },
     {"wavenc"},
     kLatin1},
    // Its ID3 texts name their encoding; the LIST INFO chunk's don't.
    {"WavInfoAndId3Chunk",
     [](const std::string& dir) {
         std::string path = makeWav(dir, "song.wav", kSeconds, {"Info Artist", "Info Title", ""});
         appendRiffChunk(path, "ID3 ", id3v2Tag(kJapanese, 4, Id3Encoding::Utf8));
         return path;
     },
     {"wavenc"},
     kJapanese},
    {"VorbisComments",
     [](const std::string& dir) {
         return makeMedia(dir, "song.ogg", {"oggmux", "vorbisenc", ""}, kSeconds, 440, kJapanese);
     },
     {"oggmux", "vorbisenc"},
     kJapanese},
    {"OpusComments",
     [](const std::string& dir) {
         return makeMedia(dir, "song.opus", {"oggmux", "audioresample ! opusenc", ""}, kSeconds,
                          440, kJapanese);
     },
     {"oggmux", "opusenc"},
     kJapanese},
    {"FlacComments",
     [](const std::string& dir) {
         return makeMedia(dir, "song.flac", {"", "flacenc", ""}, kSeconds, 440, kJapanese);
     },
     {"flacenc"},
     kJapanese},
    {"Mp4Atoms",
     [](const std::string& dir) {
         return makeMedia(dir, "song.m4a", {"mp4mux", "avenc_aac", ""}, kSeconds, 440, kJapanese);
     },
     {"mp4mux", "avenc_aac"},
     kJapanese},
};

class MediaTagsTest : public MediaGraphTest, public ::testing::WithParamInterface<TaggedFile> {};

}  // namespace

TEST_P(MediaTagsTest, ArtistAndTitleReadIntact) {
    const TaggedFile& file = GetParam();
    if (auto missing = missingFactories(file.needs); !missing.empty())
        GTEST_SKIP() << "this machine lacks " << missing.front();
    std::string path = file.make(dir.path());
    for (MediaGraph::Mode mode : {MediaGraph::Mode::Probe, MediaGraph::Mode::Playback}) {
        SCOPED_TRACE(mode == MediaGraph::Mode::Probe ? "probe" : "playback");
        MediaGraph graph(mode);
        ASSERT_EQ(graph.Open(path, true), 0) << graph.GetErrorText(256);
        std::string artist;
        std::string title;
        EXPECT_EQ(graph.GetContentText(1, artist), 0);
        EXPECT_EQ(graph.GetContentText(2, title), 0);
        EXPECT_EQ(artist, file.expected.artist);
        EXPECT_EQ(title, file.expected.title);
    }
}

INSTANTIATE_TEST_SUITE_P(Tags, MediaTagsTest, ::testing::ValuesIn(kTaggedFiles),
                         [](const ::testing::TestParamInfo<TaggedFile>& test) {
                             return test.param.name;
                         });
