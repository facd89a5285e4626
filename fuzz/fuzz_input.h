#pragma once
// The fuzzer's bytes as a read-only stream, as a list reader gets a file.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>

struct StreamCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

inline std::unique_ptr<std::FILE, StreamCloser> streamOf(const std::uint8_t* data,
                                                         std::size_t size) {
    // fmemopen refuses an empty buffer; an empty file is the same as one holding nothing.
    static const std::uint8_t nothing = 0;
    return std::unique_ptr<std::FILE, StreamCloser>(
        fmemopen(const_cast<std::uint8_t*>(size > 0 ? data : &nothing), size > 0 ? size : 0, "rb"));
}
