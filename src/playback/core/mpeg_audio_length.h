#pragma once
// The exact length of a raw MPEG audio file (MP3, MP2, with or without ID3 tags), found by
// walking its frame headers: four bytes a frame, no decoder. GStreamer's parser can only
// estimate the length of a variable bitrate file that carries no Xing or VBRI table, from
// the bitrate of the frames it has seen so far; counting the frames gives it exactly.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

struct MpegFrameHeader {
    int sampleRate = 0;
    int samples = 0;  // per frame
    int bytes = 0;    // the whole frame, header included
    int layer = 0;    // 1, 2 or 3
    int versionBits = 0;
    bool mono = false;
};

// The frame header at `header` (4 bytes), or nullopt when it is none (no sync, a reserved
// field, or free format, whose frame length the header does not give).
std::optional<MpegFrameHeader> parseMpegFrameHeader(const std::uint8_t* header);

// Seconds of sound in the file at `path`: from the frame count of the Xing or VBRI table
// that some encoders put in the first frame, else from the samples of every frame
// (that table frame excluded), divided by the sample rate. nullopt
// when the file can't be read or is no raw MPEG audio stream (a container such as RIFF,
// Ogg or MP4 is never taken for one).
std::optional<double> mpegAudioFileSeconds(const std::string& path);
