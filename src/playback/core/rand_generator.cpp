#include "playback/core/rand_generator.h"

#include <ctime>

RandGenerator RandGenerator::seededFromClock() {
    return RandGenerator(static_cast<std::uint32_t>(std::time(nullptr)));
}

int RandGenerator::draw() {
    // Unsigned arithmetic wraps modulo 2^32 as the generator requires.
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7fffu);
}
