#pragma once
// The text of an ini file held in memory, with the lookups and edits of the platform's
// private profile functions. Lines are kept byte for byte, with their own line ends, so
// rewriting a file changes only the lines whose keys were written.
//
// How a file is understood:
// - A section starts at a line whose first non-blank character is "[" and that holds a
//   "]"; its name is the text between them, trimmed. Text after "]" is ignored.
// - Inside a section, a line holding "=" is a key line: the key is the trimmed text
//   before the first "=", the value the trimmed text after it. A value enclosed in a
//   matching pair of double or single quotes loses the quotes.
// - Every other line (text before the first section, comments starting with ";", lines
//   without "=", header lines without "]", empty lines) is kept unchanged and never read.
// - Section and key names compare without regard to ASCII letter case.
// - A section may occur more than once and a key more than once: lookups and writes use
//   the first key line in file order among all occurrences of the section; a new key goes
//   to the end of the first occurrence.
// - Line ends may be LF or CR LF, mixed; a final line without a line end is a line. New
//   lines get the line end of the file's first line (LF for a file without one).
// - Damaged content never fails: NUL bytes and other binary bytes are ordinary bytes of
//   a line (a value is cut at its first NUL when read, as a text), overlong lines are
//   kept whole (a value read is cut to 4095 bytes on a UTF-8 boundary), and a name that
//   holds odd bytes simply matches nothing the program asks for.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class IniDocument {
  public:
    // The longest value a read returns, in bytes.
    static constexpr std::size_t kMaxValueBytes = 4095;

    IniDocument() = default;
    // Splits `bytes` into lines; any byte sequence is accepted.
    static IniDocument parse(std::string_view bytes);
    // The file content: the kept lines joined again.
    std::string text() const;
    bool empty() const { return lines_.empty(); }

    // The value of the first matching key line, unquoted, cut at NUL and to
    // kMaxValueBytes; nullopt when the key or its section is missing.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;

    // Writes `value` to the first matching key line, to a new key line at the end of the
    // section, or to a new section at the end of the text. Returns false, changing
    // nothing, for a name or value the file cannot hold (see ProfileStore).
    bool set(std::string_view section, std::string_view key, std::string_view value);

    static bool isStorableSection(std::string_view section);
    static bool isStorableKey(std::string_view key);
    static bool isStorableValue(std::string_view value);

  private:
    struct KeyLine {
        std::size_t line;
        std::string_view keyText;  // as spelt in the file, trimmed
    };
    // Position of the first key line for `key`, and the last line of the first occurrence
    // of `section` that is not blank (for an append). Both nullopt when there is no such
    // section.
    struct Lookup {
        std::optional<KeyLine> key;
        std::optional<std::size_t> sectionEnd;
    };
    Lookup find(std::string_view section, std::string_view key) const;
    std::string lineEnd() const;
    void insertLine(std::size_t index, std::string content);

    std::vector<std::string> lines_;  // each with its own line end, if it had one
};
