#include <cstdlib>
#include <cstring>

#include "image/png_stages.h"

namespace {

struct Pass {
    std::uint32_t first_column, first_row, column_step, row_step;
    std::uint32_t width, height;
};

// The seven Adam7 passes of a w x h image, or the one pass of a plain image.
int passes_of(const PngInfo& info, Pass* passes) {
    std::uint32_t w = info.width, h = info.height;
    if (info.interlace_method == 0) {
        passes[0] = Pass{0, 0, 1, 1, w, h};
        return 1;
    }
    passes[0] = Pass{0, 0, 8, 8, (w + 7) / 8, (h + 7) / 8};
    passes[1] = Pass{4, 0, 8, 8, (w + 3) / 8, (h + 7) / 8};
    passes[2] = Pass{0, 4, 4, 8, (w + 3) / 4, (h + 3) / 8};
    passes[3] = Pass{2, 0, 4, 4, (w + 1) / 4, (h + 3) / 4};
    passes[4] = Pass{0, 2, 2, 4, (w + 1) / 2, (h + 1) / 4};
    passes[5] = Pass{1, 0, 2, 2, w / 2, (h + 1) / 2};
    passes[6] = Pass{0, 1, 1, 2, w, h / 2};
    return 7;
}

std::uint64_t line_bytes(std::uint64_t width, int bits_per_pixel) { return (width * bits_per_pixel + 7) / 8; }

bool empty(const Pass& pass) { return pass.width == 0 || pass.height == 0; }

int paeth(int a, int b, int c) {
    int p = a + b - c;
    int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) return a;
    return pb <= pc ? b : c;
}

// Reconstructs one filtered line into `line`; `previous` is null on the
// first line of a pass, which reads as a line of zeros. One loop per filter
// type: this runs over every byte of every picture at start-up.
unsigned unfilter_line(int type, const std::uint8_t* in, std::uint8_t* line, const std::uint8_t* previous,
                       std::size_t length, std::size_t pixel_bytes) {
    std::size_t first = pixel_bytes < length ? pixel_bytes : length;  // bytes without a left neighbour
    auto up = [&](std::size_t i) -> int { return previous ? previous[i] : 0; };
    auto byte = [](int v) { return static_cast<std::uint8_t>(v); };
    switch (type) {
        case 0: std::memcpy(line, in, length); break;
        case 1:
            std::memcpy(line, in, first);
            for (std::size_t i = first; i < length; ++i) line[i] = byte(in[i] + line[i - pixel_bytes]);
            break;
        case 2:
            for (std::size_t i = 0; i < length; ++i) line[i] = byte(in[i] + up(i));
            break;
        case 3:
            for (std::size_t i = 0; i < first; ++i) line[i] = byte(in[i] + up(i) / 2);
            for (std::size_t i = first; i < length; ++i) line[i] = byte(in[i] + (line[i - pixel_bytes] + up(i)) / 2);
            break;
        case 4:
            for (std::size_t i = 0; i < first; ++i) line[i] = byte(in[i] + up(i));  // paeth(0, b, 0) is b
            for (std::size_t i = first; i < length; ++i)
                line[i] = byte(in[i] + paeth(line[i - pixel_bytes], up(i), up(i - pixel_bytes)));
            break;
        default: return png_error_filter_type;
    }
    return 0;
}

// Copies `count` bits, most significant first, between bit offsets.
void copy_bits(const std::uint8_t* from, std::uint64_t from_bit, std::uint8_t* to, std::uint64_t to_bit, int count) {
    for (int k = 0; k < count; ++k, ++from_bit, ++to_bit) {
        unsigned bit = from[from_bit >> 3] >> (7 - (from_bit & 7)) & 1u;
        std::uint8_t mask = static_cast<std::uint8_t>(0x80u >> (to_bit & 7));
        to[to_bit >> 3] = static_cast<std::uint8_t>(bit ? to[to_bit >> 3] | mask : to[to_bit >> 3] & ~mask);
    }
}

// Puts the pixels of one reconstructed pass line at their image positions.
void place_line(const std::uint8_t* line, const Pass& pass, std::uint32_t row, const PngInfo& info, std::uint8_t* raw) {
    int bpp = info.bits_per_pixel;
    std::uint64_t image_row = pass.first_row + std::uint64_t{row} * pass.row_step;
    if (pass.column_step == 1 && bpp % 8 == 0) {  // a whole row of a plain image
        std::size_t bytes = static_cast<std::size_t>(pass.width) * (bpp / 8);
        std::memcpy(raw + image_row * bytes, line, bytes);
        return;
    }
    for (std::uint32_t x = 0; x < pass.width; ++x) {
        std::uint64_t pixel = image_row * info.width + pass.first_column + std::uint64_t{x} * pass.column_step;
        if (bpp >= 8)
            std::memcpy(raw + pixel * (bpp / 8), line + std::uint64_t{x} * (bpp / 8), bpp / 8);
        else
            copy_bits(line, std::uint64_t{x} * bpp, raw, pixel * bpp, bpp);
    }
}

unsigned unfilter_pass(const std::uint8_t*& in, const Pass& pass, const PngInfo& info, std::uint8_t* lines[2],
                       std::uint8_t* raw) {
    std::size_t length = line_bytes(pass.width, info.bits_per_pixel);
    std::size_t pixel_bytes = info.bits_per_pixel >= 8 ? info.bits_per_pixel / 8 : 1;
    for (std::uint32_t row = 0; row < pass.height; ++row) {
        std::uint8_t* line = lines[row & 1];
        const std::uint8_t* previous = row ? lines[(row + 1) & 1] : nullptr;
        unsigned error = unfilter_line(in[0], in + 1, line, previous, length, pixel_bytes);
        if (error) return error;
        place_line(line, pass, row, info, raw);
        in += 1 + length;
    }
    return 0;
}

}  // namespace

std::uint64_t png_scanline_bytes(const PngInfo& info) {
    Pass passes[7];
    int count = passes_of(info, passes);
    std::uint64_t total = 0;
    for (int p = 0; p < count; ++p)
        if (!empty(passes[p])) total += passes[p].height * (1 + line_bytes(passes[p].width, info.bits_per_pixel));
    return total;
}

unsigned png_unfilter(const std::uint8_t* scanlines, const PngInfo& info, std::uint8_t* raw) {
    std::size_t length = line_bytes(info.width, info.bits_per_pixel);
    auto* buffer = static_cast<std::uint8_t*>(std::malloc(2 * length));
    if (!buffer) return png_error_memory;
    std::uint8_t* lines[2] = {buffer, buffer + length};
    Pass passes[7];
    int count = passes_of(info, passes);
    unsigned error = 0;
    for (int p = 0; p < count && !error; ++p)
        if (!empty(passes[p])) error = unfilter_pass(scanlines, passes[p], info, lines, raw);
    std::free(buffer);
    return error;
}
