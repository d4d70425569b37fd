// A private folder for targets whose reader opens a file by name: in memory
// where the machine has /dev/shm, so that every input is not a disk write.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

inline const std::string& scratch_dir() {
    static const std::string dir = [] {
        char shm[] = "/dev/shm/heden-fuzz-XXXXXX";
        char tmp[] = "/tmp/heden-fuzz-XXXXXX";
        const char* name = mkdtemp(shm) ? shm : mkdtemp(tmp);
        if (!name) std::abort();
        return std::string(name);
    }();
    return dir;
}

inline void write_whole(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(data, 1, size, f) != size || std::fclose(f) != 0) std::abort();
}
