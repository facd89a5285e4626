#pragma once
// Captures the sound a media graph plays. While a SoundCapture lives, VORN_AUDIO_SINK sends
// the sound of every song opened, mono 16-bit at kRate, to a file in the given folder
// through fdsink at presentation pace (appending, so a flushing seek erases nothing), also
// from the programs the test starts meanwhile.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

class SoundCapture {
  public:
    static constexpr int kRate = 8000;

    // Throws std::runtime_error when the capture file can't be made.
    explicit SoundCapture(const std::string& dir);
    // Gives VORN_AUDIO_SINK back its previous value.
    ~SoundCapture();
    SoundCapture(const SoundCapture&) = delete;
    SoundCapture& operator=(const SoundCapture&) = delete;

    // Everything captured so far.
    std::vector<std::int16_t> samples() const;
    double seconds() const;

  private:
    std::string path_;
    int fd_ = -1;
    std::optional<std::string> previousSink_;
};

// The 16-bit little-endian samples in the file at `path` (none when it can't be read).
std::vector<std::int16_t> readS16File(const std::string& path);

// The frequency, in steps of 10 Hz from 100 Hz up to below half of `rate`, that carries the
// most power in the middle half second of `samples` (all of them when shorter).
double dominantFrequency(const std::vector<std::int16_t>& samples, int rate);

}  // namespace testsupport
