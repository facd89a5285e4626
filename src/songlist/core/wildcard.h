#pragma once
// File name patterns of the search setting: '*' stands for any run of characters, '?' for
// exactly one character; ASCII letters match regardless of case. Names are raw bytes: a
// UTF-8 sequence counts as one character for '?', any other byte as one character.
#include <string_view>

bool wildcardMatch(std::string_view pattern, std::string_view name);
