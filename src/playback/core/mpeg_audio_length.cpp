#include "playback/core/mpeg_audio_length.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstring>
#include <vector>

namespace {

// Kilobits per second by bitrate index, for MPEG-1 layers I to III and MPEG-2/2.5 layer I
// and layers II/III.
constexpr int kBitrates[5][15] = {
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
};
constexpr int kBaseRates[3] = {44100, 48000, 32000};

// How far past the tags the first frame may start, and how far a lost sync is searched.
constexpr std::uint64_t kFirstFrameWindow = 8 * 1024;
constexpr std::uint64_t kResyncWindow = 64 * 1024;
// Frames that must follow each other before a sync counts as the stream's start.
constexpr int kChainToStart = 4;

// Reads a file at any offset through one window, so a walk from frame to frame costs a
// read per window, not per frame.
class WindowReader {
  public:
    explicit WindowReader(const std::string& path)
        : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
        struct stat info {};
        if (fd_ >= 0 && ::fstat(fd_, &info) == 0 && S_ISREG(info.st_mode))
            size_ = static_cast<std::uint64_t>(info.st_size);
    }
    ~WindowReader() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    WindowReader(const WindowReader&) = delete;
    WindowReader& operator=(const WindowReader&) = delete;

    std::uint64_t size() const { return size_; }

    // The `count` bytes at `offset` (count <= kWindow), or nullptr past the end.
    const std::uint8_t* at(std::uint64_t offset, std::size_t count) {
        if (offset + count > size_)
            return nullptr;
        if (offset < start_ || offset + count > start_ + filled_) {
            ssize_t got = ::pread(fd_, window_.data(), window_.size(), static_cast<off_t>(offset));
            if (got < 0)
                return nullptr;
            start_ = offset;
            filled_ = static_cast<std::size_t>(got);
            if (count > filled_)
                return nullptr;
        }
        return window_.data() + (offset - start_);
    }

  private:
    static constexpr std::size_t kWindow = 64 * 1024;
    int fd_;
    std::uint64_t size_ = 0;
    std::vector<std::uint8_t> window_ = std::vector<std::uint8_t>(kWindow);
    std::uint64_t start_ = 0;
    std::size_t filled_ = 0;
};

bool sameStream(const MpegFrameHeader& a, const MpegFrameHeader& b) {
    return a.versionBits == b.versionBits && a.layer == b.layer && a.sampleRate == b.sampleRate;
}

// The header at `offset` when `chain` frames of the same stream follow each other from it.
std::optional<MpegFrameHeader> chainAt(WindowReader& file, std::uint64_t offset, int chain) {
    std::optional<MpegFrameHeader> first;
    for (int i = 0; i < chain; ++i) {
        const std::uint8_t* bytes = file.at(offset, 4);
        std::optional<MpegFrameHeader> header = bytes ? parseMpegFrameHeader(bytes) : std::nullopt;
        if (!header || (first && !sameStream(*first, *header)))
            return std::nullopt;
        if (!first)
            first = header;
        offset += static_cast<std::uint64_t>(header->bytes);
        if (offset == file.size())
            break;  // a file shorter than the chain still starts here
    }
    return first;
}

std::optional<std::uint64_t> findChain(WindowReader& file, std::uint64_t from, std::uint64_t window,
                                       int chain) {
    for (std::uint64_t offset = from; offset < from + window && offset + 4 <= file.size(); ++offset)
        if (chainAt(file, offset, chain))
            return offset;
    return std::nullopt;
}

// Past every ID3v2 tag at the start of the file.
std::uint64_t skipId3v2(WindowReader& file) {
    std::uint64_t offset = 0;
    while (const std::uint8_t* tag = file.at(offset, 10)) {
        if (std::memcmp(tag, "ID3", 3) != 0)
            break;
        std::uint64_t size = 0;
        for (int i = 6; i < 10; ++i) {
            if (tag[i] & 0x80)
                return offset;  // not a valid synchsafe size
            size = (size << 7) | tag[i];
        }
        bool footer = (tag[5] & 0x10) != 0;
        offset += 10 + size + (footer ? 10 : 0);
    }
    return offset;
}

// Files of other formats that may hold MPEG audio, whose length their own parser knows.
bool isContainer(WindowReader& file) {
    const std::uint8_t* head = file.at(0, 12);
    if (!head)
        return false;
    for (const char* magic : {"RIFF", "OggS", "fLaC", "FORM", "\x1A\x45\xDF\xA3"})
        if (std::memcmp(head, magic, 4) == 0)
            return true;
    return std::memcmp(head + 4, "ftyp", 4) == 0;
}

std::uint32_t bigEndian32(const std::uint8_t* bytes) {
    return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
           (std::uint32_t{bytes[2]} << 8) | bytes[3];
}

struct TableFrame {
    bool present = false;
    std::optional<std::uint32_t> frames;  // the count it gives, when it gives one
};

// The table (Xing, Info or VBRI) that some encoders write in the first frame instead of
// sound, with the number of frames that follow it.
TableFrame readTableFrame(WindowReader& file, std::uint64_t offset, const MpegFrameHeader& header) {
    TableFrame table;
    int sideInfo = header.versionBits == 3 ? (header.mono ? 17 : 32) : (header.mono ? 9 : 17);
    if (header.layer == 3) {
        const std::uint8_t* xing = file.at(offset + 4 + static_cast<unsigned>(sideInfo), 12);
        if (xing && (std::memcmp(xing, "Xing", 4) == 0 || std::memcmp(xing, "Info", 4) == 0)) {
            table.present = true;
            if (bigEndian32(xing + 4) & 1)
                table.frames = bigEndian32(xing + 8);
            return table;
        }
    }
    const std::uint8_t* vbri = file.at(offset + 36, 18);
    if (vbri && std::memcmp(vbri, "VBRI", 4) == 0) {
        table.present = true;
        table.frames = bigEndian32(vbri + 14);
    }
    return table;
}

bool isTrailingTag(WindowReader& file, std::uint64_t offset) {
    const std::uint8_t* bytes = file.at(offset, 3);
    return bytes && (std::memcmp(bytes, "TAG", 3) == 0 || std::memcmp(bytes, "APE", 3) == 0 ||
                     std::memcmp(bytes, "LYR", 3) == 0 || std::memcmp(bytes, "ID3", 3) == 0);
}

}  // namespace

std::optional<MpegFrameHeader> parseMpegFrameHeader(const std::uint8_t* h) {
    if (h[0] != 0xFF || (h[1] & 0xE0) != 0xE0)
        return std::nullopt;
    int versionBits = (h[1] >> 3) & 3;  // 0 MPEG-2.5, 2 MPEG-2, 3 MPEG-1
    int layerBits = (h[1] >> 1) & 3;    // 1 layer III, 2 layer II, 3 layer I
    int bitrateIndex = h[2] >> 4;
    int rateIndex = (h[2] >> 2) & 3;
    if (versionBits == 1 || layerBits == 0 || bitrateIndex == 0 || bitrateIndex == 15 ||
        rateIndex == 3)
        return std::nullopt;
    MpegFrameHeader header;
    header.versionBits = versionBits;
    header.layer = 4 - layerBits;
    header.mono = (h[3] >> 6) == 3;
    bool mpeg1 = versionBits == 3;
    header.sampleRate = kBaseRates[rateIndex] >> (mpeg1 ? 0 : versionBits == 2 ? 1 : 2);
    int table = mpeg1 ? header.layer - 1 : (header.layer == 1 ? 3 : 4);
    long bitsPerSecond = kBitrates[table][bitrateIndex] * 1000L;
    int padding = (h[2] >> 1) & 1;
    if (header.layer == 1) {
        header.samples = 384;
        header.bytes = static_cast<int>((12 * bitsPerSecond / header.sampleRate + padding) * 4);
    } else {
        header.samples = header.layer == 3 && !mpeg1 ? 576 : 1152;
        header.bytes =
            static_cast<int>(header.samples / 8 * bitsPerSecond / header.sampleRate + padding);
    }
    return header;
}

std::optional<double> mpegAudioFileSeconds(const std::string& path) {
    WindowReader file(path);
    if (file.size() == 0 || isContainer(file))
        return std::nullopt;
    std::optional<std::uint64_t> start =
        findChain(file, skipId3v2(file), kFirstFrameWindow, kChainToStart);
    if (!start)
        return std::nullopt;
    std::optional<MpegFrameHeader> stream = chainAt(file, *start, 1);
    std::uint64_t offset = *start;
    std::uint64_t samples = 0;
    TableFrame table = readTableFrame(file, offset, *stream);
    if (table.frames && *table.frames > 0)
        return static_cast<double>(*table.frames) * stream->samples / stream->sampleRate;
    if (table.present)
        offset += static_cast<std::uint64_t>(stream->bytes);
    while (offset + 4 <= file.size()) {
        const std::uint8_t* bytes = file.at(offset, 4);
        std::optional<MpegFrameHeader> header = bytes ? parseMpegFrameHeader(bytes) : std::nullopt;
        if (header && sameStream(*stream, *header)) {
            if (offset + static_cast<std::uint64_t>(header->bytes) > file.size())
                break;  // a frame cut short by the end of the file does not play
            samples += static_cast<std::uint64_t>(header->samples);
            offset += static_cast<std::uint64_t>(header->bytes);
            continue;
        }
        if (isTrailingTag(file, offset))
            break;
        std::optional<std::uint64_t> next = findChain(file, offset + 1, kResyncWindow, 2);
        if (!next)
            break;
        offset = *next;
    }
    return static_cast<double>(samples) / stream->sampleRate;
}
