#pragma once
// Media time inside the player is kept in units of 100 ns; it crosses interfaces in seconds
// and reaches GStreamer in nanoseconds.
#include <cstdint>

// Seconds to 100-ns units, truncated toward zero.
inline std::int64_t secondsToMediaUnits(double seconds) {
    return static_cast<std::int64_t>(seconds * 1e7);
}
inline double mediaUnitsToSeconds(std::int64_t units) {
    return static_cast<double>(units) * 1e-7;
}
inline std::int64_t mediaUnitsToNanoseconds(std::int64_t units) {
    return units * 100;
}
// Nanoseconds to 100-ns units, truncated toward zero.
inline std::int64_t nanosecondsToMediaUnits(std::int64_t ns) {
    return ns / 100;
}
