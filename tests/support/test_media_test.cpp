// The generated media are what the other suites take them for.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"
#include "support/test_media.h"

using namespace testsupport;

TEST(TestMedia, TempDirIsRemovedWithItsFiles) {
    std::string path;
    {
        TempDir dir;
        path = dir.path();
        makeEmptyFile(dir.subdir("a/b"), "x.mp3");
        EXPECT_TRUE(std::filesystem::exists(dir.file("a/b/x.mp3")));
    }
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(TestMedia, WavPeakFollowsTheVolume) {
    TempDir dir;
    std::string loud = makeWav(dir.path(), "loud.wav", 0.5, {}, 440, 0.8);
    std::string quiet = makeWav(dir.path(), "quiet.wav", 0.5, {}, 440, 0.2);
    EXPECT_NEAR(peakAmplitude(loud), 0.8, 0.01);
    EXPECT_NEAR(peakAmplitude(quiet), 0.2, 0.01);
    EXPECT_NEAR(peakAmplitude(loud, 0.6), 0.0, 1e-6);  // past its end
}

TEST(TestMedia, Mp3WithAndWithoutXingHeader) {
    TempDir dir;
    EXPECT_TRUE(hasXingHeader(makeMp3(dir.path(), "x.mp3", 1.0, {"A", "T", "C"})));
    EXPECT_FALSE(hasXingHeader(makeCbrMp3WithoutXing(dir.path(), "n.mp3", 1.0, {"A", "T", ""})));
}

TEST(TestMedia, DamagedFilesHaveTheirSizes) {
    TempDir dir;
    EXPECT_EQ(std::filesystem::file_size(makeEmptyFile(dir.path(), "e.wav")), 0u);
    EXPECT_EQ(std::filesystem::file_size(makeRandomBytes(dir.path(), "r.mp3", 5000)), 5000u);
    std::string wav = makeWav(dir.path(), "w.wav", 0.2);
    EXPECT_EQ(std::filesystem::file_size(makeTruncatedCopy(wav, dir.path(), "t.wav", 30)), 30u);
}

TEST(TestMedia, AviFilesAreWritten) {
    TempDir dir;
    EXPECT_GT(std::filesystem::file_size(makeAvi(dir.path(), "v.avi", 1.0, 1.0)), 1000u);
    EXPECT_GT(
        std::filesystem::file_size(makeAvi(dir.path(), "m.avi", 0.5, 1.0, AviAudio::Mp3, 160, 120)),
        1000u);
    EXPECT_GT(std::filesystem::file_size(makeVideoOnly(dir.path(), "o.avi", 0.5)), 1000u);
    // The name is kept as bytes, even when it is not UTF-8.
    EXPECT_TRUE(std::filesystem::exists(makeWav(dir.path(), "bad\xff\xfe.wav", 0.1)));
}
