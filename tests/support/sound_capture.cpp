#include "support/sound_capture.h"

#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <numbers>
#include <stdexcept>

namespace testsupport {

SoundCapture::SoundCapture(const std::string& dir) : path_(dir + "/captured.s16") {
    // Inherited by the programs a test starts (no close-on-exec), so the real program's
    // sound reaches the same file.
    fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND, 0600);
    if (fd_ < 0)
        throw std::runtime_error("can't create " + path_);
    if (const char* previous = std::getenv("VORN_AUDIO_SINK"))
        previousSink_ = previous;
    std::string sink = "audioconvert ! audioresample ! audio/x-raw,format=S16LE,channels=1,rate=" +
                       std::to_string(kRate) + " ! fdsink sync=true fd=" + std::to_string(fd_);
    setenv("VORN_AUDIO_SINK", sink.c_str(), 1);
}

SoundCapture::~SoundCapture() {
    if (previousSink_)
        setenv("VORN_AUDIO_SINK", previousSink_->c_str(), 1);
    else
        unsetenv("VORN_AUDIO_SINK");
    ::close(fd_);
}

std::vector<std::int16_t> readS16File(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::int16_t> values(bytes.size() / 2);
    for (std::size_t i = 0; i < values.size(); ++i) {
        auto low = static_cast<unsigned char>(bytes[2 * i]);
        auto high = static_cast<unsigned char>(bytes[2 * i + 1]);
        values[i] = static_cast<std::int16_t>(low | high << 8);
    }
    return values;
}

std::vector<std::int16_t> SoundCapture::samples() const {
    return readS16File(path_);
}

double SoundCapture::seconds() const {
    return static_cast<double>(samples().size()) / kRate;
}

// Goertzel's power at each candidate frequency.
double dominantFrequency(const std::vector<std::int16_t>& samples, int rate) {
    std::size_t length = std::min<std::size_t>(samples.size(), static_cast<std::size_t>(rate / 2));
    std::size_t first = (samples.size() - length) / 2;
    double best = 0;
    double bestPower = -1;
    for (double freq = 100; freq < rate / 2.0; freq += 10) {
        double coefficient = 2 * std::cos(2 * std::numbers::pi * freq / rate);
        double previous = 0;
        double beforePrevious = 0;
        for (std::size_t i = first; i < first + length; ++i) {
            double current = samples[i] + coefficient * previous - beforePrevious;
            beforePrevious = previous;
            previous = current;
        }
        double power = previous * previous + beforePrevious * beforePrevious -
                       coefficient * previous * beforePrevious;
        if (power > bestPower) {
            bestPower = power;
            best = freq;
        }
    }
    return best;
}

}  // namespace testsupport
