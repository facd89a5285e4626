#include "app/text_cut.h"

namespace {

bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Length a lead byte announces, or 1 for a byte that starts no valid sequence.
std::size_t sequenceLength(unsigned char c) {
    if (c >= 0xC2 && c <= 0xDF) return 2;
    if (c >= 0xE0 && c <= 0xEF) return 3;
    if (c >= 0xF0 && c <= 0xF4) return 4;
    return 1;
}

}  // namespace

std::string cutUtf8(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) return std::string(text);
    std::size_t end = 0;
    while (end < maxBytes) {
        std::size_t len = sequenceLength(static_cast<unsigned char>(text[end]));
        // A lead byte whose continuation bytes are missing or wrong is a lone byte.
        for (std::size_t k = 1; k < len; ++k) {
            if (end + k >= text.size() || !isContinuation(static_cast<unsigned char>(text[end + k]))) {
                len = 1;
                break;
            }
        }
        if (end + len > maxBytes) break;
        end += len;
    }
    return std::string(text.substr(0, end));
}
