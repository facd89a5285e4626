// The PLS reader on any bytes.
#include <cstdint>

#include "fuzz_input.h"
#include "songlist/core/pls_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (auto file = streamOf(data, size)) {
        readPls(file.get(), "/base", [](const PlaylistEntry& entry) {
            if (entry.path.empty())
                __builtin_trap();
        });
    }
    return 0;
}
