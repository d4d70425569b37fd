// Readings of the generated pool that do not go through the program's own
// readers: libpng for pictures and plain walks of the PCX, stored-mesh and
// LightWave layouts. The pool checks hold the program's readers against these.
#pragma once

#include <png.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "demo/sky_box.h"

namespace pool_reference {

inline std::string pool() { return HEDEN_POOL_DIR; }

inline std::vector<std::uint8_t> bytes_of(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Decoded {
    bool ok = false;
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgba;
};

// libpng's reading of a file, as RGBA.
inline Decoded decode_png(const std::string& path) {
    Decoded out;
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return out;
    image.format = PNG_FORMAT_RGBA;
    out.rgba.resize(PNG_IMAGE_SIZE(image));
    out.ok = png_image_finish_read(&image, nullptr, out.rgba.data(), 0, nullptr) != 0;
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    return out;
}

// Every picture the demo loads as a texture or the loading screen.
inline std::vector<std::string> png_names() {
    std::vector<std::string> names = {"loading.png", "test.png", "mizzle.png", "particle.png", "tarrow.png"};
    for (char c : std::string("cfklmstz")) names.push_back(std::string("noise_") + c + ".png");
    for (int set = 0; set < 3; ++set)
        for (int face = 0; face < sky_box::face_count; ++face)
            names.push_back("cubemap_" + std::to_string(set) + sky_box::face_letters[face] + ".png");
    return names;
}

inline long png_pixel_limit(const std::string& name) { return name == "loading.png" ? 262144 : 1048576; }

// A one-plane, 256-colour PCX: its header fields, run-decoded indices and
// palette. `ok` is false when the layout does not hold together.
struct PalettePicture {
    bool ok = false;
    int width = 0, height = 0, planes = 0;
    std::vector<int> indices;
    const std::uint8_t* palette = nullptr;  // 256 x R, G, B inside `bytes`
    std::vector<std::uint8_t> bytes;
};

inline PalettePicture read_pcx(const std::string& path) {
    PalettePicture p;
    p.bytes = bytes_of(path);
    const std::vector<std::uint8_t>& b = p.bytes;
    if (b.size() < 128u + 769u || b[b.size() - 769] != 12) return p;
    p.width = (b[8] | b[9] << 8) - (b[4] | b[5] << 8) + 1;
    p.height = (b[10] | b[11] << 8) - (b[6] | b[7] << 8) + 1;
    p.planes = b[65];
    p.palette = &b[b.size() - 768];
    for (std::size_t at = 128; at < b.size() - 769;) {
        int run = 1, value = b[at++];
        if (value >= 192) {
            run = value & 63;
            if (at >= b.size() - 769) return p;
            value = b[at++];
        }
        p.indices.insert(p.indices.end(), static_cast<std::size_t>(run), value);
    }
    p.ok = p.indices.size() == static_cast<std::size_t>(p.width) * p.height;
    return p;
}

// A stored mesh: two little-endian counts, positions as doubles, triangles
// as three 16-bit vertex numbers. Empty when the size does not match.
struct StoredMesh {
    std::uint32_t vertices = 0, triangles = 0;
    std::vector<double> positions;
    std::vector<std::uint16_t> indices;
};

inline StoredMesh read_stored(const std::string& path) {
    std::vector<std::uint8_t> b = bytes_of(path);
    StoredMesh m;
    if (b.size() < 8) return m;
    std::memcpy(&m.vertices, &b[0], 4);
    std::memcpy(&m.triangles, &b[4], 4);
    if (b.size() != 8 + 24ull * m.vertices + 6ull * m.triangles) return StoredMesh{};
    m.positions.resize(3ull * m.vertices);
    std::memcpy(m.positions.data(), &b[8], 24ull * m.vertices);
    m.indices.resize(3ull * m.triangles);
    std::memcpy(m.indices.data(), &b[8 + 24ull * m.vertices], 6ull * m.triangles);
    return m;
}

// What an LWO2 file holds, counted chunk by chunk: points, triangles once
// quads are split in two, and the polygon chunks of type FACE with the
// 32-bit value that follows each type tag.
struct LightWaveCounts {
    bool ok = false;
    long points = 0, triangles = 0, other_polygons = 0;
    std::vector<long> face_chunk_words;
};

inline std::uint32_t be32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

inline LightWaveCounts count_lightwave(const std::vector<std::uint8_t>& b) {
    LightWaveCounts c;
    if (b.size() < 12 || std::memcmp(&b[0], "FORM", 4) != 0 || std::memcmp(&b[8], "LWO2", 4) != 0) return c;
    std::size_t at = 12;
    while (at + 8 <= b.size()) {
        std::size_t size = be32(&b[at + 4]), start = at + 8, end = start + size;
        if (end > b.size()) return c;
        if (std::memcmp(&b[at], "PNTS", 4) == 0) c.points += static_cast<long>(size / 12);
        if (std::memcmp(&b[at], "POLS", 4) == 0 && size >= 8 && std::memcmp(&b[start], "FACE", 4) == 0) {
            c.face_chunk_words.push_back(static_cast<std::int32_t>(be32(&b[start + 4])));
            for (std::size_t p = start + 4; p + 2 <= end;) {
                int corners = (b[p] << 8 | b[p + 1]) & 0x3FF;  // the top six bits are flags
                if (corners == 3 || corners == 4) c.triangles += corners - 2;
                else ++c.other_polygons;
                p += 2 + 2 * static_cast<std::size_t>(corners);
            }
        }
        at = end + (size & 1);
    }
    c.ok = at == b.size();
    return c;
}

}  // namespace pool_reference
