#pragma once
// Byte limits on texts (tray tips, tooltips, names) are kept, but a text is never cut
// inside a UTF-8 character.
#include <cstddef>
#include <string>
#include <string_view>

// The longest prefix of `text` of at most `maxBytes` bytes that does not end inside a
// UTF-8 sequence. Bytes that are not valid UTF-8 (file names are raw bytes) count as
// single characters.
std::string cutUtf8(std::string_view text, std::size_t maxBytes);

// True when `text` is well-formed UTF-8 (no overlong forms, surrogates or code points past
// U+10FFFF).
bool isValidUtf8(std::string_view text);
