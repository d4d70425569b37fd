#include "image/pcx.h"

namespace {

constexpr std::int32_t header_bytes = 128;
constexpr std::int32_t palette_bytes = 768;
// Planes beyond this many have no byte of their own in a pixel.
constexpr unsigned stored_planes = 3;

int little_endian_16(const std::uint8_t* p) { return static_cast<std::int16_t>(p[0] | p[1] << 8); }

struct Layout {
    std::int32_t width, height;
    unsigned planes;
    std::int32_t line_length;  // encoded bytes per plane line
    std::int32_t data_end;
};

// Reads and checks the header fields; false for pictures we cannot hold.
bool read_layout(const std::uint8_t* bytes, std::int32_t size, std::uint32_t capacity, Layout& layout) {
    if (size < header_bytes) return false;
    layout.width = little_endian_16(bytes + 8) - little_endian_16(bytes + 4) + 1;
    layout.height = little_endian_16(bytes + 10) - little_endian_16(bytes + 6) + 1;
    layout.planes = bytes[65];
    if (layout.width <= 0 || layout.height <= 0 || layout.planes == 0) return false;
    if (std::uint64_t{4} * layout.width * layout.height > capacity) return false;
    if (layout.planes == 1 && size < header_bytes + palette_bytes) return false;
    // Lines padded past the width (bytes per line larger) keep their padding
    // out of the picture; a smaller or missing field means unpadded lines.
    std::int32_t bytes_per_line = bytes[66] | bytes[67] << 8;
    layout.line_length = bytes_per_line > layout.width ? bytes_per_line : layout.width;
    layout.data_end = layout.planes == 1 ? size - palette_bytes : size;
    return true;
}

// Run-length decoding into byte 2 - plane of each pixel. A run is consumed
// whole; what passes the end of its line is dropped, and the line wraps after
// the run. Decoding stops at the end of the data or of the picture.
void decode_runs(const std::uint8_t* bytes, const Layout& layout, std::uint8_t* pixels) {
    std::int32_t column = 0, row = 0;
    unsigned plane = 0;
    for (std::int32_t at = header_bytes; at < layout.data_end && row < layout.height;) {
        unsigned value = bytes[at++], count = 1;
        if (value >= 192) {
            if (at >= layout.data_end) break;
            count = value & 63;
            value = bytes[at++];
        }
        for (std::int32_t c = column; c < column + static_cast<std::int32_t>(count) && c < layout.width; ++c)
            if (plane < stored_planes) pixels[(std::int64_t{row} * layout.width + c) * 4 + 2 - plane] = static_cast<std::uint8_t>(value);
        column += count;
        if (column < layout.line_length) continue;
        column = 0;
        if (++plane < layout.planes) continue;
        plane = 0;
        ++row;
    }
}

void apply_palette(const std::uint8_t* palette, std::int64_t pixel_count, std::uint8_t* pixels) {
    for (std::int64_t i = 0; i < pixel_count; ++i) {
        const std::uint8_t* entry = palette + 3 * pixels[4 * i + 2];
        std::uint8_t* pixel = pixels + 4 * i;
        pixel[0] = entry[0];
        pixel[1] = entry[1];
        pixel[2] = entry[2];
        pixel[3] = 0;
    }
}

}  // namespace

int pcx_decode(const std::uint8_t* bytes, Image* image, std::int32_t size) {
    Layout layout{};
    if (!read_layout(bytes, size, image->capacity, layout)) {
        image->width = image->height = 0;
        return -1;
    }
    image->width = static_cast<std::uint32_t>(layout.width);
    image->height = static_cast<std::uint32_t>(layout.height);
    image->bits = 24;
    image->blue_first = layout.planes > 1;
    decode_runs(bytes, layout, image->pixels);
    if (layout.planes == 1)
        apply_palette(bytes + size - palette_bytes, std::int64_t{layout.width} * layout.height, image->pixels);
    return 0;
}
