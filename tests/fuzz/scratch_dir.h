// A private folder for targets whose reader opens a file by name: in memory
// where the machine has /dev/shm, so that every input is not a disk write.
// It goes, with what the targets wrote into it, when the run ends.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

inline const std::string& scratch_dir() {
    // The name is kept in a plain array too: the exit handler runs after the
    // string is gone.
    static char made[32];
    static const std::string dir = [] {
        char shm[] = "/dev/shm/heden-fuzz-XXXXXX";
        char tmp[] = "/tmp/heden-fuzz-XXXXXX";
        const char* name = mkdtemp(shm) ? shm : mkdtemp(tmp);
        if (!name) std::abort();
        std::snprintf(made, sizeof made, "%s", name);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(made, ignored);
        });
        return std::string(name);
    }();
    return dir;
}

inline void write_whole(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(data, 1, size, f) != size || std::fclose(f) != 0) std::abort();
}
