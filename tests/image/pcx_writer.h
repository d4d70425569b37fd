// PCX files assembled byte by byte for tests and fuzzing seeds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace test_image {

struct PcxHeader {
    int xmin = 0, ymin = 0, xmax = 0, ymax = 0;
    int planes = 1;
    int bytes_per_line = 0;  // 0: the width
};

inline std::string pcx_header(const PcxHeader& h) {
    std::string bytes(128, '\0');
    auto put16 = [&](int at, int v) {
        bytes[at] = static_cast<char>(v & 255);
        bytes[at + 1] = static_cast<char>(v >> 8 & 255);
    };
    bytes[0] = 10, bytes[1] = 5, bytes[2] = 1, bytes[3] = 8;
    put16(4, h.xmin), put16(6, h.ymin), put16(8, h.xmax), put16(10, h.ymax);
    bytes[65] = static_cast<char>(h.planes);
    put16(66, h.bytes_per_line ? h.bytes_per_line : h.xmax - h.xmin + 1);
    return bytes;
}

// Run-length encodes one plane line the usual way: runs never cross it,
// values of 192 and up always go as runs.
inline std::string pcx_encode_line(const std::vector<std::uint8_t>& line) {
    std::string out;
    for (std::size_t i = 0; i < line.size();) {
        std::size_t run = 1;
        while (i + run < line.size() && line[i + run] == line[i] && run < 63) ++run;
        if (run > 1 || line[i] >= 192) out += static_cast<char>(192 + run);
        out += static_cast<char>(line[i]);
        i += run;
    }
    return out;
}

// 256 palette entries R, G, B after the marker byte 12.
inline std::string pcx_palette(const std::vector<std::uint8_t>& rgb) {
    std::string out(1, '\x0c');
    std::string entries(rgb.begin(), rgb.end());
    entries.resize(768, '\0');
    return out + entries;
}

}  // namespace test_image
