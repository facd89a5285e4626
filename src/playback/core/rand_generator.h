#pragma once
// The program's one random generator for random play order: a linear congruential
// generator whose draws are 15-bit integers, seeded once when the player window is made.
#include <cstdint>

class RandGenerator {
  public:
    static constexpr int kMax = 32767;

    explicit RandGenerator(std::uint32_t seed) : state_(seed) {}
    // Seed from the current time, to the nanosecond.
    static RandGenerator seededFromClock();

    // Next draw in 0..kMax: bits 16 to 30 of the advanced state.
    int draw();

  private:
    std::uint32_t state_;
};
