// The frame walk over hand-made MPEG audio bytes: tags, an encoder's table frame, junk
// between frames, a frame cut short, and files that are no MPEG audio at all.
#include <gtest/gtest.h>

#include <fstream>

#include "playback/core/mpeg_audio_length.h"
#include "support/temp_dir.h"

namespace {

// MPEG-1 layer III, 128 kbit/s, 44.1 kHz, stereo: 417 bytes and 1152 samples a frame.
const std::string kMpeg1Header("\xFF\xFB\x90\x00", 4);
// MPEG-2 layer III, 64 kbit/s, 22.05 kHz, stereo: 208 bytes and 576 samples a frame.
const std::string kMpeg2Header("\xFF\xF3\x80\x00", 4);

std::string frames(const std::string& header, int count) {
    std::optional<MpegFrameHeader> parsed =
        parseMpegFrameHeader(reinterpret_cast<const std::uint8_t*>(header.data()));
    std::string frame = header + std::string(static_cast<std::size_t>(parsed->bytes) - 4, '\x55');
    std::string out;
    for (int i = 0; i < count; ++i)
        out += frame;
    return out;
}

std::string id3v2(std::size_t bodyBytes) {
    std::string size;
    for (int shift = 21; shift >= 0; shift -= 7)
        size += static_cast<char>((bodyBytes >> shift) & 0x7F);
    return std::string("ID3\x03\x00\x00", 6) + size + std::string(bodyBytes, '\0');
}

std::string write(const testsupport::TempDir& dir, const std::string& name,
                  const std::string& bytes) {
    std::string path = dir.file(name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

}  // namespace

TEST(MpegAudioLength, FrameHeaders) {
    auto header = parseMpegFrameHeader(reinterpret_cast<const std::uint8_t*>(kMpeg1Header.data()));
    ASSERT_TRUE(header);
    EXPECT_EQ(header->bytes, 417);
    EXPECT_EQ(header->samples, 1152);
    EXPECT_EQ(header->sampleRate, 44100);
    header = parseMpegFrameHeader(reinterpret_cast<const std::uint8_t*>(kMpeg2Header.data()));
    ASSERT_TRUE(header);
    EXPECT_EQ(header->bytes, 208);
    EXPECT_EQ(header->samples, 576);
    EXPECT_EQ(header->sampleRate, 22050);
    for (const char* bad : {"\xFF\xFB\xF0\x00", "\xFF\xFB\x0C\x00", "\xFF\xE9\x90\x00", "ID3\x03"})
        EXPECT_FALSE(parseMpegFrameHeader(reinterpret_cast<const std::uint8_t*>(bad))) << bad;
}

TEST(MpegAudioLength, CountsEveryFramePastTagsTableAndJunk) {
    testsupport::TempDir dir;
    // An ID3v2 tag, a Xing table frame without a count, 100 frames, junk, 50 more, an
    // ID3v1 tag.
    std::string xing = frames(kMpeg1Header, 1);
    xing.replace(36, 8, std::string("Xing\0\0\0\0", 8));
    std::string bytes = id3v2(300) + xing + frames(kMpeg1Header, 100) + std::string(1000, '\0') +
                        frames(kMpeg1Header, 50) + "TAG" + std::string(125, ' ');
    auto seconds = mpegAudioFileSeconds(write(dir, "a.mp3", bytes));
    ASSERT_TRUE(seconds);
    EXPECT_DOUBLE_EQ(*seconds, 150 * 1152 / 44100.0);

    // A table that gives the count is taken at its word.
    xing.replace(40, 8, std::string("\0\0\0\x01\0\0\x01\x2C", 8));  // 300 frames
    seconds = mpegAudioFileSeconds(write(dir, "c.mp3", xing + frames(kMpeg1Header, 100)));
    ASSERT_TRUE(seconds);
    EXPECT_DOUBLE_EQ(*seconds, 300 * 1152 / 44100.0);

    // MPEG-2 frames, the last one cut short by the end of the file.
    std::string cut = frames(kMpeg2Header, 20);
    cut.resize(cut.size() - 10);
    seconds = mpegAudioFileSeconds(write(dir, "b.mp3", cut));
    ASSERT_TRUE(seconds);
    EXPECT_DOUBLE_EQ(*seconds, 19 * 576 / 22050.0);
}

TEST(MpegAudioLength, OtherFilesAreNoMpegAudio) {
    testsupport::TempDir dir;
    // MPEG audio inside a RIFF file is the container's to measure.
    EXPECT_FALSE(mpegAudioFileSeconds(
        write(dir, "a.wav", "RIFF\x10\x00\x00\x00WAVE" + frames(kMpeg1Header, 10))));
    EXPECT_FALSE(mpegAudioFileSeconds(write(dir, "b.mp3", std::string(20000, '\x55'))));
    // A lone sync pattern is no stream: four frames must follow each other.
    EXPECT_FALSE(mpegAudioFileSeconds(write(dir, "c.mp3", kMpeg1Header + std::string(5000, '\0'))));
    EXPECT_FALSE(mpegAudioFileSeconds(write(dir, "d.mp3", "")));
    EXPECT_FALSE(mpegAudioFileSeconds(dir.file("missing.mp3")));
    EXPECT_FALSE(mpegAudioFileSeconds(dir.path()));
}
