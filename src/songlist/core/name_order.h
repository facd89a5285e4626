#pragma once
// The order a file manager shows names in, for walking a folder: ASCII letters compared
// without regard to case, runs of digits by their value ("Track 2" before "Track 10"),
// other bytes (UTF-8 or not) by their value. Names that only differ in case or in leading
// zeros ("A" and "a", "02" and "2") are then ordered byte by byte, so the order is total.
#include <string_view>

// True when `a` comes before `b`. Allocates nothing; digit runs of any length are compared
// without being converted to a number.
bool nameLess(std::string_view a, std::string_view b);
