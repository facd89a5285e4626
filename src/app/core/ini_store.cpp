#include "app/core/ini_store.h"

#include <climits>
#include <utility>

int parseLeadingInt(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
        ++at;
    const bool negative = at < text.size() && text[at] == '-';
    if (negative)
        ++at;
    long long magnitude = 0;
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        magnitude = magnitude * 10 + (text[at] - '0');
        if (magnitude >= limit) {
            magnitude = limit;
            break;
        }
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}

IniStore::IniStore(std::filesystem::path path, std::filesystem::path seed)
    : path_(std::move(path)), seed_(std::move(seed)) {
    std::string bytes;
    if (readCurrent(bytes) == FileReadResult::Read)
        document_ = IniDocument::parse(bytes);
}

FileReadResult IniStore::readCurrent(std::string& bytes) const {
    const FileReadResult result = readWholeFile(path_, bytes);
    if (result != FileReadResult::Missing || seed_.empty())
        return result;
    // An unreadable seed is as good as none: the settings start from their defaults.
    if (readWholeFile(seed_, bytes) == FileReadResult::Read)
        return FileReadResult::Read;
    bytes.clear();
    return FileReadResult::Missing;
}

int IniStore::getInt(std::string_view section, std::string_view key, int fallback) const {
    std::optional<std::string> value = document_.value(section, key);
    return value ? parseLeadingInt(*value) : fallback;
}

std::string IniStore::getString(std::string_view section, std::string_view key,
                                std::string_view fallback) const {
    std::optional<std::string> value = document_.value(section, key);
    return value ? std::move(*value) : std::string(fallback);
}

bool IniStore::setInt(std::string_view section, std::string_view key, int value) {
    return setString(section, key, std::to_string(value));
}

bool IniStore::setString(std::string_view section, std::string_view key, std::string_view value) {
    if (!document_.set(section, key, value))
        return false;
    pending_.push_back(Write{std::string(section), std::string(key), std::string(value)});
    return true;
}

bool IniStore::flush() {
    if (pending_.empty())
        return true;
    // Apply the writes to the file as it is now, so whatever else changed it since it
    // was read is kept. A file that exists but cannot be read is not overwritten.
    std::string bytes;
    if (readCurrent(bytes) == FileReadResult::Failed)
        return false;
    IniDocument onDisk = IniDocument::parse(bytes);
    for (const Write& write : pending_)
        onDisk.set(write.section, write.key, write.value);
    if (!replaceFileAtomically(path_, onDisk.text()))
        return false;
    document_ = std::move(onDisk);
    pending_.clear();
    return true;
}
