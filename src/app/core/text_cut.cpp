#include "app/core/text_cut.h"

namespace {

bool isContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// Length a lead byte announces, or 1 for a byte that starts no valid sequence.
std::size_t sequenceLength(unsigned char c) {
    if (c >= 0xC2 && c <= 0xDF)
        return 2;
    if (c >= 0xE0 && c <= 0xEF)
        return 3;
    if (c >= 0xF0 && c <= 0xF4)
        return 4;
    return 1;
}

}  // namespace

std::string cutUtf8(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes)
        return std::string(text);
    std::size_t end = 0;
    while (end < maxBytes) {
        std::size_t len = sequenceLength(static_cast<unsigned char>(text[end]));
        // A lead byte whose continuation bytes are missing or wrong is a lone byte.
        for (std::size_t k = 1; k < len; ++k) {
            if (end + k >= text.size() ||
                !isContinuation(static_cast<unsigned char>(text[end + k]))) {
                len = 1;
                break;
            }
        }
        if (end + len > maxBytes)
            break;
        end += len;
    }
    return std::string(text.substr(0, end));
}

bool isValidUtf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const auto lead = static_cast<unsigned char>(text[at]);
        if (lead < 0x80) {
            ++at;
            continue;
        }
        const std::size_t len = sequenceLength(lead);
        if (len == 1 || at + len > text.size())
            return false;
        // The second byte's range rules out overlong forms, surrogates and code points
        // past U+10FFFF.
        const auto second = static_cast<unsigned char>(text[at + 1]);
        const unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
        const unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
        if (second < low || second > high)
            return false;
        for (std::size_t k = 2; k < len; ++k) {
            if (!isContinuation(static_cast<unsigned char>(text[at + k])))
                return false;
        }
        at += len;
    }
    return true;
}
