// The .lst reader on any bytes, read from a file in memory as it reads a file on disk.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <string>

#include "songlist/core/song_list_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const int fd = memfd_create("list.lst", 0);
    if (fd < 0)
        return 0;
    if (write(fd, data, size) == static_cast<ssize_t>(size)) {
        const std::string path = "/proc/self/fd/" + std::to_string(fd);
        ReadSongListFile(path, [](const std::string& song) {
            if (song.empty() || song.front() == '#' || song.size() > kSongListLineMax ||
                song.find('\t') != std::string::npos)
                __builtin_trap();
        });
    }
    close(fd);
    return 0;
}
