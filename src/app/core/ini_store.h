#pragma once
// The program's ini file ("tvorn.ini") with the semantics of the platform's private
// profile functions: defaults for missing keys and for a missing or unreadable file,
// leading-decimal integers, strings of at most 4095 bytes, an empty value read as "" and
// a missing key as the default, values replaced in place, new keys at the end of their
// section, new sections at the end of the file, nothing ever deleted, names compared
// without regard to letter case. See IniDocument for how damaged files are read.
//
// Writes are batched: the set functions change the store in memory (reads see them at
// once) and remember each write; flush() puts the remembered writes, in their order, into
// the file as it is on disk at that moment and replaces the file atomically (a temporary
// file beside it, written, synced and renamed over it). A crash or a failed write
// therefore leaves either the old file or the new one, never a half-written one, and a
// failed flush keeps the writes for a later try. Lines the store does not understand are
// kept as they are.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/core/atomic_file.h"
#include "app/core/ini_document.h"
#include "app/core/profile_store.h"

class IniStore : public ProfileStore {
  public:
    // Reads `path` at once; a missing or unreadable file reads as empty. While `path` does
    // not exist, `seed` (when given) stands in for it: it is read, and the first flush
    // writes its content with the remembered writes to `path`. The seed is never written.
    explicit IniStore(std::filesystem::path path, std::filesystem::path seed = {});

    const std::filesystem::path& path() const { return path_; }

    int getInt(std::string_view section, std::string_view key, int fallback) const override;
    std::string getString(std::string_view section, std::string_view key,
                          std::string_view fallback) const override;
    bool setInt(std::string_view section, std::string_view key, int value) override;
    bool setString(std::string_view section, std::string_view key, std::string_view value) override;

    // Writes the remembered writes to the file, creating its folder when missing. True
    // when they are on disk (or there were none); false when the file could not be read
    // back or written, in which case the old file is untouched.
    bool flush();
    bool hasUnsavedWrites() const { return !pending_.empty(); }

  private:
    struct Write {
        std::string section;
        std::string key;
        std::string value;
    };

    // The file as it is on disk now (the seed while the file is missing).
    FileReadResult readCurrent(std::string& bytes) const;

    std::filesystem::path path_;
    std::filesystem::path seed_;
    IniDocument document_;
    std::vector<Write> pending_;
};

// The leading decimal number of `text`, an optional minus sign included, after leading
// blanks; 0 when there is none. Values beyond the int range saturate.
int parseLeadingInt(std::string_view text);
