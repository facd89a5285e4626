// The M3U reader on any bytes, and the writer's promise: any absolute path written reads
// back unchanged.
#include <cstdint>
#include <string>

#include "fuzz_input.h"
#include "songlist/core/m3u_file.h"
#include "songlist/core/song_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (auto file = streamOf(data, size)) {
        int entries = 0;
        readM3u(file.get(), "/base", [&](const PlaylistEntry& entry) {
            if (entry.path.empty())
                __builtin_trap();
            ++entries;
        });
    }

    const std::string path = "/" + std::string(reinterpret_cast<const char*>(data), size);
    if (path.find('\0') != std::string::npos || path.size() > 4095)
        return 0;  // no such path can exist
    SongList list;
    list.append(path, std::string(reinterpret_cast<const char*>(data), size), "t", 1.5);
    const std::string text = m3u8Text(list);
    std::string read;
    int count = 0;
    if (auto back = streamOf(reinterpret_cast<const std::uint8_t*>(text.data()), text.size())) {
        readM3u(back.get(), "/elsewhere", [&](const PlaylistEntry& entry) {
            read = entry.path;
            ++count;
        });
    }
    if (count != 1 || read != path)
        __builtin_trap();
    return 0;
}
