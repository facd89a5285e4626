#pragma once
// Media files for tests, generated on the spot with GStreamer pipelines (audiotestsrc,
// videotestsrc, wavenc, lamemp3enc, id3v2mux, jpegenc, avimux...), run to end of stream.
//
// Every make* function writes `dir + "/" + name` (name may hold any bytes, even invalid
// UTF-8), returns that path, and throws std::runtime_error with GStreamer's message when
// the pipeline fails or does not finish within a minute. GStreamer is initialised on first
// use. Audio is a sine of `freq` Hz at `volume` (0..1), 44.1 kHz stereo, unless stated.
#include <cstddef>
#include <string>
#include <vector>

namespace testsupport {

// Tags written into a file; empty members are left out.
struct TagSet {
    std::string artist;
    std::string title;
    std::string comment;
    std::string album{};
    int track = 0;  // 0: none
    bool empty() const {
        return artist.empty() && title.empty() && comment.empty() && album.empty() && track == 0;
    }
};

// PCM WAV (16-bit) with the tags in a LIST INFO chunk (IART, INAM, ICMT).
std::string makeWav(const std::string& dir, const std::string& name, double seconds,
                    const TagSet& tags = {}, double freq = 440, double volume = 0.8);

// MP3 at 128 kbit/s with an ID3v2 tag (artist, title, comment) and a Xing header, so its
// duration is known from the first frame.
std::string makeMp3(const std::string& dir, const std::string& name, double seconds,
                    const TagSet& tags = {}, double freq = 440, double volume = 0.8);

// Constant bitrate MP3 without any Xing/Info frame: its duration can only be estimated
// from the byte length and the bitrate. Checked with hasXingHeader() before returning.
std::string makeCbrMp3WithoutXing(const std::string& dir, const std::string& name, double seconds,
                                  const TagSet& tags = {}, double freq = 440, int kbps = 128);

// Variable bitrate MP3 without a Xing or VBRI table, as lamemp3enc writes by default:
// `loudSeconds` of noise, whose frames take the highest bitrates, then `quietSeconds` of
// a soft sine, whose frames take low ones, so the first frames' bitrate says nothing of
// the whole. Checked with hasXingHeader() before returning.
std::string makeVbrMp3WithoutXing(const std::string& dir, const std::string& name,
                                  double loudSeconds, double quietSeconds);

enum class AviAudio { None, Pcm, Mp3 };

// AVI with MJPEG video (videotestsrc, `width` x `height`, 10 frames a second) lasting
// `videoSeconds`, and a sound track of `audioSeconds` in `audio` coding (AviAudio::None
// makes a video-only file and ignores audioSeconds).
std::string makeAvi(const std::string& dir, const std::string& name, double videoSeconds,
                    double audioSeconds, AviAudio audio = AviAudio::Pcm, int width = 320,
                    int height = 240, const TagSet& tags = {}, double freq = 440);

// A video-only AVI (MJPEG, no sound track).
std::string makeVideoOnly(const std::string& dir, const std::string& name, double seconds,
                          int width = 320, int height = 240);

// How a file of one format is made: gst-launch fragments for the sound's encoder and, for a
// file with a picture, the picture's encoder (raw 160x120 video at 10 frames a second goes
// in), both led into `muxer` (empty: the encoded sound alone goes to the file). A tag
// setter named "tagger", else the first one in the pipeline, carries the tags. The element
// named "restamp" gives its buffers that have no presentation time one in sequence:
// avenc_mpeg4 of gst-libav 1.22 leaves them out, which mp4mux refuses.
struct MediaRecipe {
    std::string muxer;
    std::string audioEncoder;
    std::string videoEncoder;
};
std::string makeMedia(const std::string& dir, const std::string& name, const MediaRecipe& recipe,
                      double seconds, double freq, const TagSet& tags = {});

// The element factories among `names` that this machine lacks.
std::vector<std::string> missingFactories(const std::vector<std::string>& names);

// Tags written byte by byte, as other taggers write them, so a reader is tested on correct
// non-ASCII texts whatever GStreamer's own tag writers do. Texts are given in UTF-8.
enum class Id3Encoding { Latin1 = 0, Utf16 = 1, Utf8 = 3 };
// An ID3v2.3 or ID3v2.4 tag (`version` 3 or 4) with TPE1 (artist), TIT2 (title), TALB
// (album) and TRCK (track) frames in `encoding` (UTF-16 with a byte order mark; Latin-1
// needs texts it can hold), and an APIC frame holding `jpegPicture` as the front cover
// when that is not empty.
std::string id3v2Tag(const TagSet& tags, int version, Id3Encoding encoding,
                     const std::string& jpegPicture = {});
// The 128-byte ID3v1 tag; artist and title in Latin-1, each cut to 30 bytes.
std::string id3v1Tag(const TagSet& tags);
void prependToFile(const std::string& path, const std::string& bytes);
void appendToFile(const std::string& path, const std::string& bytes);
// Appends a RIFF chunk (`id` four characters, e.g. "id3 ") to a WAV file and corrects the
// RIFF size in its header.
void appendRiffChunk(const std::string& path, const std::string& id, const std::string& bytes);

// A JPEG picture (videotestsrc's bars, `width` x `height`).
std::string makeJpeg(const std::string& dir, const std::string& name, int width = 64,
                     int height = 48);
// The whole content of a file; throws std::runtime_error when it can't be read.
std::string fileBytes(const std::string& path);

// Damaged files.
std::string makeEmptyFile(const std::string& dir, const std::string& name);
// `bytes` pseudo-random bytes from `seed` (the name decides what it pretends to be, e.g. .mp3).
std::string makeRandomBytes(const std::string& dir, const std::string& name, std::size_t bytes,
                            unsigned seed = 1);
// A copy of the first `keepBytes` bytes of `source`.
std::string makeTruncatedCopy(const std::string& source, const std::string& dir,
                              const std::string& name, std::size_t keepBytes);

// True when the first MPEG audio frame of the MP3 file is a Xing or Info frame.
bool hasXingHeader(const std::string& mp3Path);

// The largest absolute sample value (0..1, all channels) of an audio file that GStreamer
// can decode (WAV in particular), between `fromSeconds` and `toSeconds` (negative: to the
// end). Throws std::runtime_error when the file can't be decoded.
double peakAmplitude(const std::string& path, double fromSeconds = 0, double toSeconds = -1);

// Runs a gst-launch style description to end of stream. When `outputPath` is not empty it
// becomes the "location" of the element named "out"; when `tags` is not empty they are set
// on the tag setter named "tagger", else on the first tag setter of the pipeline. Throws
// std::runtime_error on error or time-out.
void runPipeline(const std::string& description, const std::string& outputPath = {},
                 const TagSet& tags = {}, double timeoutSeconds = 60);

}  // namespace testsupport
