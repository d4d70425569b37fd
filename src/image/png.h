// PNG decoding to 8-bit RGBA.
#pragma once

#include <cstdint>

#include "image/image.h"

// Codes of png_decode, left in png_error (10..26 come from the inflater).
enum PngError : unsigned {
    png_error_short_file = 27,
    png_error_signature = 28,
    png_error_no_header = 29,
    png_error_chunk_header = 30,  // also: no IEND
    png_error_colour_type = 31,
    png_error_compression = 32,
    png_error_filter_method = 33,
    png_error_interlace = 34,
    png_error_chunk_data = 35,
    png_error_filter_type = 36,
    png_error_bit_depth = 37,
    png_error_palette_size = 38,
    png_error_palette_alpha = 39,
    png_error_grey_key = 40,
    png_error_rgb_key = 41,
    png_error_key_with_alpha = 42,
    png_error_palette_background = 43,
    png_error_grey_background = 44,
    png_error_rgb_background = 45,
    png_error_index_8 = 46,
    png_error_index_low = 47,
    png_error_empty = 48,
    // Width or height 0, or an RGBA image larger than the caller can take.
    png_error_too_large = 49,
    // A work buffer could not be allocated.
    png_error_memory = 50,
};

struct PngInfo {
    std::uint32_t width, height;
    int bit_depth;
    int colour_type;
    int compression_method;
    int filter_method;
    int interlace_method;
    int bits_per_pixel;
    int channels;
    std::uint8_t palette[256][4];  // R, G, B, A
    unsigned palette_size;
    int key_r, key_g, key_b;  // tRNS colour key; grey uses key_r
    std::uint8_t key_defined;
    std::uint8_t background_defined;
    int background_r, background_g, background_b;
};

// A buffer the decoder allocates (malloc) and the caller frees with
// png_buffer_free.
struct PngBuffer {
    std::uint8_t* data;
    std::uint32_t size;
};

void png_buffer_free(PngBuffer* buffer);

// Decodes a whole PNG file into `rgba` (width x height x 4 bytes, R G B A,
// top row first). Images of more than `rgba_limit` RGBA bytes are refused
// before anything large is allocated. Sets png_error (0 on success) and
// returns it; on failure `rgba` holds no buffer.
unsigned png_decode(const std::uint8_t* bytes, std::int32_t size, PngInfo* info, PngBuffer* rgba, std::uint32_t rgba_limit);

// Loads `path` through the file loader and decodes it into `image`, whose
// buffer must be at least image->capacity bytes. A missing file leaves
// `image` untouched; a failed decode leaves width and height 0.
void png_load(const char* path, Image* image);
