// Builds blob.dat images byte by byte, independently of the program's writer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fake {

inline void put_u32(std::string* out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out->push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// Overwrites the 32-bit number at byte `at`.
inline void put_u32_at(std::string* out, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) (*out)[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

inline std::string blob_image(const std::vector<std::string>& files, std::uint32_t magic = 0x66600999u) {
    std::string out;
    put_u32(&out, magic);
    for (const std::string& f : files) out += f;
    std::uint32_t offset = 0;
    for (const std::string& f : files) {
        put_u32(&out, offset);
        put_u32(&out, static_cast<std::uint32_t>(f.size()));
        offset += static_cast<std::uint32_t>(f.size());
    }
    put_u32(&out, static_cast<std::uint32_t>(files.size()));
    return out;
}

}  // namespace fake
