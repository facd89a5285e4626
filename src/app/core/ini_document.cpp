#include "app/core/ini_document.h"

#include "app/core/ascii_case.h"
#include "app/core/text_cut.h"

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// A line without its line end.
std::string_view contentOf(const std::string& line) {
    std::string_view content(line);
    if (!content.empty() && content.back() == '\n')
        content.remove_suffix(1);
    if (!content.empty() && content.back() == '\r')
        content.remove_suffix(1);
    return content;
}

bool hasLineEnd(const std::string& line) {
    return !line.empty() && line.back() == '\n';
}

std::optional<std::string_view> sectionNameOf(std::string_view content) {
    std::string_view text = trim(content);
    if (text.empty() || text.front() != '[')
        return std::nullopt;
    std::size_t close = text.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return trim(text.substr(1, close - 1));
}

struct KeyValue {
    std::string_view key;
    std::string_view value;
};

std::optional<KeyValue> keyValueOf(std::string_view content) {
    std::string_view text = trim(content);
    if (text.empty() || text.front() == ';')
        return std::nullopt;
    std::size_t equals = text.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    std::string_view key = trim(text.substr(0, equals));
    if (key.empty())
        return std::nullopt;
    return KeyValue{key, trim(text.substr(equals + 1))};
}

bool isQuotePair(std::string_view text) {
    return text.size() >= 2 && text.front() == text.back() &&
           (text.front() == '"' || text.front() == '\'');
}

// Quotes a value that reading would otherwise change (surrounding blanks, or a quote
// pair of its own), so every storable value reads back exactly as written.
std::string encodeValue(std::string_view value) {
    bool needsQuotes =
        !value.empty() && (isBlank(value.front()) || isBlank(value.back()) || isQuotePair(value));
    if (!needsQuotes)
        return std::string(value);
    std::string quoted;
    quoted.reserve(value.size() + 2);
    quoted += '"';
    quoted += value;
    quoted += '"';
    return quoted;
}

bool containsAny(std::string_view text, std::string_view bytes) {
    return text.find_first_of(bytes) != std::string_view::npos;
}

constexpr std::string_view kLineBreaksAndNul("\r\n\0", 3);

}  // namespace

IniDocument IniDocument::parse(std::string_view bytes) {
    IniDocument document;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        std::size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
        document.lines_.emplace_back(bytes.substr(start, next - start));
        start = next;
    }
    return document;
}

std::string IniDocument::text() const {
    std::size_t size = 0;
    for (const std::string& line : lines_)
        size += line.size();
    std::string joined;
    joined.reserve(size);
    for (const std::string& line : lines_)
        joined += line;
    return joined;
}

IniDocument::Lookup IniDocument::find(std::string_view section, std::string_view key) const {
    Lookup result;
    bool inWantedSection = false;
    bool inFirstOccurrence = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        std::string_view content = contentOf(lines_[i]);
        if (std::optional<std::string_view> name = sectionNameOf(content)) {
            inWantedSection = equalsIgnoringAsciiCase(*name, section);
            inFirstOccurrence = inWantedSection && !result.sectionEnd;
            if (inFirstOccurrence)
                result.sectionEnd = i;
            continue;
        }
        if (inFirstOccurrence && !trim(content).empty())
            result.sectionEnd = i;
        if (!inWantedSection || result.key)
            continue;
        if (std::optional<KeyValue> keyValue = keyValueOf(content)) {
            if (equalsIgnoringAsciiCase(keyValue->key, key))
                result.key = KeyLine{i, keyValue->key};
        }
    }
    return result;
}

std::optional<std::string> IniDocument::value(std::string_view section,
                                              std::string_view key) const {
    Lookup lookup = find(section, key);
    if (!lookup.key)
        return std::nullopt;
    std::string_view text = keyValueOf(contentOf(lines_[lookup.key->line]))->value;
    if (isQuotePair(text))
        text = text.substr(1, text.size() - 2);
    text = text.substr(0, text.find('\0'));
    return cutUtf8(text, kMaxValueBytes);
}

bool IniDocument::isStorableSection(std::string_view section) {
    return !section.empty() && trim(section) == section && !containsAny(section, "]") &&
           !containsAny(section, kLineBreaksAndNul);
}

bool IniDocument::isStorableKey(std::string_view key) {
    return !key.empty() && trim(key) == key && key.front() != ';' && key.front() != '[' &&
           !containsAny(key, "=") && !containsAny(key, kLineBreaksAndNul);
}

bool IniDocument::isStorableValue(std::string_view value) {
    return !containsAny(value, kLineBreaksAndNul);
}

std::string IniDocument::lineEnd() const {
    const bool crlf = !lines_.empty() && lines_.front().ends_with("\r\n");
    return crlf ? "\r\n" : "\n";
}

void IniDocument::insertLine(std::size_t index, std::string content) {
    if (index > 0 && !hasLineEnd(lines_[index - 1]))
        lines_[index - 1] += lineEnd();
    content += lineEnd();
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index), std::move(content));
}

bool IniDocument::set(std::string_view section, std::string_view key, std::string_view value) {
    if (!isStorableSection(section) || !isStorableKey(key) || !isStorableValue(value)) {
        return false;
    }
    Lookup lookup = find(section, key);
    if (lookup.key) {
        std::string& line = lines_[lookup.key->line];
        std::string ending = line.substr(contentOf(line).size());
        line = std::string(lookup.key->keyText) + "=" + encodeValue(value) + ending;
        return true;
    }
    std::string keyLine = std::string(key) + "=" + encodeValue(value);
    if (lookup.sectionEnd) {
        insertLine(*lookup.sectionEnd + 1, std::move(keyLine));
        return true;
    }
    insertLine(lines_.size(), "[" + std::string(section) + "]");
    insertLine(lines_.size(), std::move(keyLine));
    return true;
}
