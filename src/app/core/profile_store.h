#pragma once
// Reading and writing named values grouped in sections, as the program's settings,
// histories and window position are kept. IniStore is the one real store; the interface
// lets the code that decides what to read and write stay apart from the file.
#include <string>
#include <string_view>

class ProfileStore {
  public:
    virtual ~ProfileStore() = default;

    // The decimal number at the start of the value, an optional minus sign included;
    // 0 for a value that does not start with a number; `fallback` when the key is missing.
    virtual int getInt(std::string_view section, std::string_view key, int fallback) const = 0;
    // The value, at most 4095 bytes; "" for an empty value; `fallback` when the key is missing.
    virtual std::string getString(std::string_view section, std::string_view key,
                                  std::string_view fallback) const = 0;

    // Replace the key's value, or add the key (and its section). False when the names or
    // the value cannot be held by the file (line breaks, NUL, "=" in a key, "]" in a
    // section); nothing changes then.
    virtual bool setInt(std::string_view section, std::string_view key, int value) = 0;
    virtual bool setString(std::string_view section, std::string_view key,
                           std::string_view value) = 0;
};
