#include "songlist/core/list_file_lines.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

FilePtr openRegularFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return nullptr;
    struct stat info {};
    const int flags = ::fcntl(fd, F_GETFL);
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || flags < 0 ||
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return nullptr;
    }
    FilePtr file(::fdopen(fd, "rb"));
    if (!file)
        ::close(fd);
    return file;
}

LineReader::LineReader(std::FILE* file, std::size_t maxLength)
    : file_(file), maxLength_(maxLength) {}

LineEnd LineReader::next(std::string& line) {
    line.clear();
    bool first = atStart_;
    atStart_ = false;
    for (;;) {
        const int c = getc_unlocked(file_);
        if (c == EOF)
            return std::ferror(file_) ? LineEnd::ReadError : LineEnd::EndOfFile;
        if (c == '\n')
            return LineEnd::Newline;
        if (c == '\r') {
            const int next = getc_unlocked(file_);
            if (next == '\n')
                return LineEnd::Newline;
            if (next != EOF)
                std::ungetc(next, file_);
        }
        if (line.size() == maxLength_)
            return LineEnd::TooLong;  // `c` is part of the rest, which is dropped
        line.push_back(static_cast<char>(c));
        if (first && line.size() == 3) {
            first = false;
            if (line == "\xEF\xBB\xBF")
                line.clear();  // the byte-order mark counts for nothing, not even the limit
        }
    }
}

bool LineReader::skipRestOfLine() {
    for (;;) {
        const int c = getc_unlocked(file_);
        if (c == EOF)
            return false;
        if (c == '\n')
            return true;
    }
}

int forEachLine(std::FILE* file, std::size_t maxLength,
                const std::function<bool(std::string_view line)>& line) {
    LineReader lines(file, maxLength);
    std::string text;
    for (;;) {
        const LineEnd end = lines.next(text);
        if (end == LineEnd::ReadError)
            return -2;
        if (end == LineEnd::TooLong) {
            if (!lines.skipRestOfLine())
                return std::ferror(file) ? -2 : 0;
            continue;
        }
        if (!line(text))
            return 0;
        if (end == LineEnd::EndOfFile)
            return 0;
    }
}
