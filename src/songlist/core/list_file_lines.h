#pragma once
// The lines of a list file (".lst", ".m3u", ".pls"), read from a regular file only. A line
// ends at LF or CR LF (a CR not followed by LF is text); a UTF-8 byte-order mark at the
// very start, as Windows editors write one, is not part of the first line.
#include <cstddef>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Opens `path` for reading when it is a regular file (after following links). The open
// does not wait, so a FIFO in the list's place is refused instead of hanging the reader.
FilePtr openRegularFile(const std::string& path);

enum class LineEnd { Newline, EndOfFile, TooLong, ReadError };

// Hands every line of `file` to `line` in order, until it returns false (the result is then
// 0). Lines longer than `maxLength` are passed over whole. 0 at the end of the file, -2 on
// a read error.
int forEachLine(std::FILE* file, std::size_t maxLength,
                const std::function<bool(std::string_view line)>& line);

class LineReader {
  public:
    // Reads `file` (not owned) from its current position, which is taken as its start.
    LineReader(std::FILE* file, std::size_t maxLength);

    // The next line into `line`, without its line end. TooLong: the line has more than
    // maxLength bytes; `line` holds the first maxLength, the byte after them is dropped
    // and the rest of the line is still unread.
    LineEnd next(std::string& line);
    // Drops the rest of an over-long line; false at the end of the file or on an error.
    bool skipRestOfLine();

  private:
    std::FILE* file_;
    std::size_t maxLength_;
    bool atStart_ = true;
};
