#include <cstring>

#include "image/png_stages.h"

namespace {

// Sample `index` of the raw bit stream at `depth` bits (16-bit samples whole).
unsigned sample(const std::uint8_t* raw, std::uint64_t index, int depth) {
    if (depth == 8) return raw[index];
    if (depth == 16) return raw[2 * index] << 8 | raw[2 * index + 1];
    std::uint64_t bit = index * depth;
    unsigned shift = 8 - depth - static_cast<unsigned>(bit & 7);
    return raw[bit >> 3] >> shift & ((1u << depth) - 1);
}

// The 8 bits kept of a sample: the high byte of 16-bit samples.
std::uint8_t byte_of(unsigned value, int depth) { return static_cast<std::uint8_t>(depth == 16 ? value >> 8 : value); }

void put(std::uint8_t* out, unsigned r, unsigned g, unsigned b, unsigned a) {
    out[0] = static_cast<std::uint8_t>(r);
    out[1] = static_cast<std::uint8_t>(g);
    out[2] = static_cast<std::uint8_t>(b);
    out[3] = static_cast<std::uint8_t>(a);
}

void grey_pixel(const std::uint8_t* raw, std::uint64_t i, const PngInfo& info, std::uint8_t* out) {
    int depth = info.bit_depth;
    unsigned v = sample(raw, i, depth);
    unsigned alpha = info.key_defined && v == static_cast<unsigned>(info.key_r) ? 0 : 255;
    unsigned grey = depth < 8 ? v * 255 / ((1u << depth) - 1) : byte_of(v, depth);
    put(out, grey, grey, grey, alpha);
}

void rgb_pixel(const std::uint8_t* raw, std::uint64_t i, const PngInfo& info, std::uint8_t* out) {
    int depth = info.bit_depth;
    unsigned r = sample(raw, 3 * i, depth), g = sample(raw, 3 * i + 1, depth), b = sample(raw, 3 * i + 2, depth);
    bool keyed = info.key_defined && r == static_cast<unsigned>(info.key_r) && g == static_cast<unsigned>(info.key_g) &&
                 b == static_cast<unsigned>(info.key_b);
    put(out, byte_of(r, depth), byte_of(g, depth), byte_of(b, depth), keyed ? 0 : 255);
}

unsigned palette_pixel(const std::uint8_t* raw, std::uint64_t i, const PngInfo& info, std::uint8_t* out) {
    unsigned index = sample(raw, i, info.bit_depth);
    if (index >= info.palette_size) return info.bit_depth == 8 ? png_error_index_8 : png_error_index_low;
    const std::uint8_t* entry = info.palette[index];
    put(out, entry[0], entry[1], entry[2], entry[3]);
    return 0;
}

void grey_alpha_pixel(const std::uint8_t* raw, std::uint64_t i, const PngInfo& info, std::uint8_t* out) {
    int depth = info.bit_depth;
    std::uint8_t grey = byte_of(sample(raw, 2 * i, depth), depth);
    put(out, grey, grey, grey, byte_of(sample(raw, 2 * i + 1, depth), depth));
}

void rgba_pixel(const std::uint8_t* raw, std::uint64_t i, const PngInfo& info, std::uint8_t* out) {
    int depth = info.bit_depth;
    for (int k = 0; k < 4; ++k) out[k] = byte_of(sample(raw, 4 * i + k, depth), depth);
}

}  // namespace

unsigned png_convert(const std::uint8_t* raw, const PngInfo& info, std::uint8_t* rgba) {
    std::uint64_t pixels = std::uint64_t{info.width} * info.height;
    // The common 8-bit kinds without a colour key go straight through.
    if (info.bit_depth == 8 && info.colour_type == 6) {
        std::memcpy(rgba, raw, static_cast<std::size_t>(pixels * 4));
        return 0;
    }
    if (info.bit_depth == 8 && info.colour_type == 2 && !info.key_defined) {
        for (std::uint64_t i = 0; i < pixels; ++i, rgba += 4, raw += 3) put(rgba, raw[0], raw[1], raw[2], 255);
        return 0;
    }
    for (std::uint64_t i = 0; i < pixels; ++i, rgba += 4) {
        switch (info.colour_type) {
        case 0: grey_pixel(raw, i, info, rgba); break;
        case 2: rgb_pixel(raw, i, info, rgba); break;
        case 3:
            if (unsigned error = palette_pixel(raw, i, info, rgba)) return error;
            break;
        case 4: grey_alpha_pixel(raw, i, info, rgba); break;
        default: rgba_pixel(raw, i, info, rgba); break;
        }
    }
    return 0;
}
