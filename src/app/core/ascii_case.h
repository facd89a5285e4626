#pragma once
// Case-insensitive comparison of ASCII letters, as the ini file's names and the history
// lists compare texts; other bytes (UTF-8 sequences, raw file-name bytes) must match.
#include <string_view>

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b);
