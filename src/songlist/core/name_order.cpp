#include "songlist/core/name_order.h"

#include <cstddef>

namespace {

bool isDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

unsigned char foldCase(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

// End of the digit run of `text` starting at `from`.
std::size_t digitRunEnd(std::string_view text, std::size_t from) {
    while (from < text.size() && isDigit(static_cast<unsigned char>(text[from])))
        ++from;
    return from;
}

// Compares the values of two digit runs: with leading zeros dropped, the longer run is the
// larger number, and runs of one length compare digit by digit.
int compareNumbers(std::string_view a, std::string_view b) {
    const std::size_t aZeros = a.find_first_not_of('0');
    const std::size_t bZeros = b.find_first_not_of('0');
    a.remove_prefix(aZeros == std::string_view::npos ? a.size() : aZeros);
    b.remove_prefix(bZeros == std::string_view::npos ? b.size() : bZeros);
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

// The natural comparison, without the final byte-by-byte tie-break.
int compareNatural(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[j]);
        if (isDigit(ca) && isDigit(cb)) {
            const std::size_t aEnd = digitRunEnd(a, i);
            const std::size_t bEnd = digitRunEnd(b, j);
            if (const int order = compareNumbers(a.substr(i, aEnd - i), b.substr(j, bEnd - j)))
                return order;
            i = aEnd;
            j = bEnd;
            continue;
        }
        // A digit against any other byte: digits are one block of byte values, so every
        // number falls between the same two neighbours, whatever its value.
        const unsigned char fa = foldCase(ca);
        const unsigned char fb = foldCase(cb);
        if (fa != fb)
            return fa < fb ? -1 : 1;
        ++i;
        ++j;
    }
    // The name that ran out first is a prefix of the other, in this comparison.
    if (i < a.size())
        return 1;
    return j < b.size() ? -1 : 0;
}

}  // namespace

bool nameLess(std::string_view a, std::string_view b) {
    if (const int order = compareNatural(a, b))
        return order < 0;
    return a < b;  // char_traits<char> compares bytes as unsigned
}
