#include "playback/core/rand_generator.h"

#include <chrono>

// The clock in nanoseconds, not whole seconds: the first draw of this generator moves
// by about 3 per second of its seed, so players started a few seconds apart would begin
// their random sessions with the same or neighbouring songs.
RandGenerator RandGenerator::seededFromClock() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(now).count();
    return RandGenerator(static_cast<std::uint32_t>(ns ^ (ns >> 32)));
}

int RandGenerator::draw() {
    // Unsigned arithmetic wraps modulo 2^32 as the generator requires.
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7fffu);
}
