// Files in every container and sound format a user has: each song's picture goes,
// never decoded, to the discard renderer, and its sound plays, the right tone for the right
// length, as captured at the audio sink.
#include <gtest/gtest.h>

#include "media_graph_fixture.h"
#include "support/sound_capture.h"

using namespace testsupport;

namespace {

// Short songs keep the suite quick; the tolerances allow for encoder padding.
constexpr double kSeconds = 2.0;
constexpr double kLengthTolerance = 0.15;

struct Format {
    std::string name;  // the test's name
    std::string file;
    MediaRecipe recipe;
    std::vector<std::string> needs;  // element factories the file is made with
    double freq;                     // each file its own tone: what plays is that file
    // Finishes the file after it was written (nullptr: nothing to do).
    void (*finish)(const std::string& path) = nullptr;
};

void PrintTo(const Format& format, std::ostream* out) {
    *out << format.file;
}

// An ID3 tag in an "id3 " chunk, as taggers write one into a WAV file.
void addId3Chunk(const std::string& path) {
    appendRiffChunk(path, "id3 ", id3v2Tag({"作者", "題名", ""}, 3, Id3Encoding::Utf16));
}

// lamemp3enc in constant bitrate, which AVI files usually hold.
const std::string kMp3 = "lamemp3enc target=bitrate cbr=true bitrate=128 ! mpegaudioparse";

std::vector<Format> formats() {
    // Encoders set for speed: the pictures are only there to be discarded.
    const std::string vp8 = "vp8enc deadline=1 cpu-used=8";
    const std::string vp9 = "vp9enc deadline=1 cpu-used=8";
    const std::string mpeg4 = "avenc_mpeg4 name=restamp";
    const std::string opus = "audioresample ! opusenc";
    std::vector<Format> list = {
        {"AviMjpegPcm",
         "mjpeg.avi",
         {"avimux", "audio/x-raw,format=S16LE", "jpegenc"},
         {"avimux", "jpegenc"},
         300},
        {"AviMpeg4Mp3",
         "mpeg4.avi",
         {"avimux", kMp3, "avenc_mpeg4"},
         {"avimux", "avenc_mpeg4", "lamemp3enc"},
         400},
        {"Mp4Mpeg4Aac",
         "mpeg4.mp4",
         {"mp4mux", "avenc_aac", mpeg4},
         {"mp4mux", "avenc_mpeg4", "avenc_aac"},
         500},
        {"MkvVp8Vorbis",
         "vp8.mkv",
         {"matroskamux", "vorbisenc", vp8},
         {"matroskamux", "vp8enc", "vorbisenc"},
         700},
        {"MkvVp9Opus",
         "vp9.mkv",
         {"matroskamux", opus, vp9},
         {"matroskamux", "vp9enc", "opusenc"},
         800},
        {"WebmVp8Vorbis",
         "vp8.webm",
         {"webmmux", "vorbisenc", vp8},
         {"webmmux", "vp8enc", "vorbisenc"},
         900},
        {"WebmVp9Opus", "vp9.webm", {"webmmux", opus, vp9}, {"webmmux", "vp9enc", "opusenc"}, 1000},
        {"OggTheoraVorbis",
         "theora.ogv",
         {"oggmux", "vorbisenc", "theoraenc"},
         {"oggmux", "theoraenc", "vorbisenc"},
         1100},
        {"Flac", "sound.flac", {"", "flacenc", ""}, {"flacenc"}, 1200},
        {"OggVorbis", "sound.ogg", {"oggmux", "vorbisenc", ""}, {"oggmux", "vorbisenc"}, 1300},
        {"Opus", "sound.opus", {"oggmux", opus, ""}, {"oggmux", "opusenc"}, 1400},
        {"M4aAac", "sound.m4a", {"mp4mux", "avenc_aac", ""}, {"mp4mux", "avenc_aac"}, 1500},
        {"WavId3",
         "id3.wav",
         {"", "audio/x-raw,format=S16LE ! wavenc", ""},
         {"wavenc"},
         1600,
         addId3Chunk},
    };
    // H.264 from whichever encoder this machine has (the case is skipped without one).
    std::string h264 = missingFactories({"x264enc"}).empty() ? "x264enc" : "openh264enc";
    list.push_back({"Mp4H264Aac",
                    "h264.mp4",
                    {"mp4mux", "avenc_aac", h264 + " ! h264parse"},
                    {"mp4mux", h264, "h264parse", "avenc_aac"},
                    600});
    return list;
}

std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

class MediaFormatTest : public MediaGraphTest, public ::testing::WithParamInterface<Format> {};

}  // namespace

TEST_P(MediaFormatTest, PlaysItsSoundAndNeverDecodesThePicture) {
    const Format& format = GetParam();
    if (auto missing = missingFactories(format.needs); !missing.empty())
        GTEST_SKIP() << "this machine lacks " << joined(missing);
    MediaGraph graph;
    if (rendererMissing(graph))
        GTEST_SKIP() << "the Zarvex plug-in is not on the plug-in path";
    std::string path = makeMedia(dir.path(), format.file, format.recipe, kSeconds, format.freq);
    if (format.finish)
        format.finish(path);
    // The searcher's probe must take the file too, or it never gets listed.
    EXPECT_EQ(MediaGraph(MediaGraph::Mode::Probe).Open(path, true), 0);

    SoundCapture capture(dir.path());
    ASSERT_EQ(graph.Open(path, true), 0) << graph.GetErrorText(256);
    EXPECT_FALSE(hasVideoDecoder(graph.pipeline()));
    std::string input = rendererInput(graph.pipeline());
    if (format.recipe.videoEncoder.empty()) {
        EXPECT_EQ(input, "");
    } else {
        EXPECT_FALSE(input.empty()) << "the picture did not reach the discard renderer";
        EXPECT_NE(input, "video/x-raw");
    }
    EXPECT_NEAR(graph.GetDuration(), kSeconds, kLengthTolerance);
    ASSERT_EQ(graph.Run(nullptr), 0);
    EXPECT_EQ(waitForEvent(graph, kSeconds + 5), 1);
    graph.Close();
    EXPECT_NEAR(capture.seconds(), kSeconds, kLengthTolerance);
    EXPECT_EQ(dominantFrequency(capture.samples(), SoundCapture::kRate), format.freq);
}

INSTANTIATE_TEST_SUITE_P(Containers, MediaFormatTest, ::testing::ValuesIn(formats()),
                         [](const ::testing::TestParamInfo<Format>& test) {
                             return test.param.name;
                         });
