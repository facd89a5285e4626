#include "songlist/core/file_uri.h"

#include "app/core/ascii_case.h"

namespace {

bool isAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int hexValue(char c) {
    if (isDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The length of the scheme before ':' (letter, then letters, digits, "+-."); 0 for none.
std::size_t schemeLength(std::string_view text) {
    if (text.empty() || !isAlpha(text[0]))
        return 0;
    std::size_t at = 1;
    while (at < text.size() && (isAlpha(text[at]) || isDigit(text[at]) || text[at] == '+' ||
                                text[at] == '-' || text[at] == '.'))
        ++at;
    return at < text.size() && text[at] == ':' ? at : 0;
}

// Percent-decoded bytes; a "%" not followed by two hex digits stays as it is.
std::string percentDecoded(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 &&
            hexValue(text[i + 2]) >= 0) {
            bytes.push_back(static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2])));
            i += 2;
        } else {
            bytes.push_back(text[i]);
        }
    }
    return bytes;
}

}  // namespace

UriPath pathOfUri(std::string_view text) {
    const std::size_t scheme = schemeLength(text);
    if (scheme == 0)
        return {};
    std::string_view rest = text.substr(scheme + 1);
    const bool isFile = equalsIgnoringAsciiCase(text.substr(0, scheme), "file");
    if (!isFile)
        return rest.substr(0, 2) == "//" ? UriPath{UriKind::Other, {}} : UriPath{};
    if (rest.substr(0, 2) == "//") {
        const std::size_t slash = rest.find('/', 2);
        const std::string_view host =
            rest.substr(2, slash == std::string_view::npos ? std::string_view::npos : slash - 2);
        if (slash == std::string_view::npos ||
            (!host.empty() && !equalsIgnoringAsciiCase(host, "localhost")))
            return {UriKind::Other, {}};  // an item on another machine is no local path
        rest = rest.substr(slash);
    }
    rest = rest.substr(0, rest.find_first_of("?#"));
    std::string path = percentDecoded(rest);
    if (path.empty() || path.front() != '/' || path.find('\0') != std::string::npos)
        return {UriKind::Other, {}};
    return {UriKind::LocalFile, std::move(path)};
}

std::string fileUriOf(std::string_view path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string uri = "file://";
    for (const char c : path) {
        if (isAlpha(c) || isDigit(c) || c == '-' || c == '.' || c == '_' || c == '~' || c == '/') {
            uri.push_back(c);
        } else {
            const auto byte = static_cast<unsigned char>(c);
            uri.push_back('%');
            uri.push_back(kHex[byte >> 4]);
            uri.push_back(kHex[byte & 0x0F]);
        }
    }
    return uri;
}
