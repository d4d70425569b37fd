#include <cstring>

#include "image/png_stages.h"

namespace {

// PLTE entries as (R, G, B, 255), alphas then lowered by a palette tRNS.
std::uint8_t working_palette[256][4];

const std::uint8_t signature[8] = {137, 80, 78, 71, 13, 10, 26, 10};

std::uint32_t big_endian_32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

int big_endian_16(const std::uint8_t* p) { return p[0] << 8 | p[1]; }

bool depth_allowed(int colour_type, int depth) {
    switch (colour_type) {
    case 0: return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case 3: return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    default: return depth == 8 || depth == 16;
    }
}

int channels_of(int colour_type) {
    switch (colour_type) {
    case 2: return 3;
    case 4: return 2;
    case 6: return 4;
    default: return 1;
    }
}

unsigned read_palette(const std::uint8_t* data, std::uint32_t length, PngInfo* info) {
    info->palette_size = length / 3;
    if (info->palette_size > 256) return png_error_palette_size;
    for (unsigned i = 0; i < info->palette_size; ++i) {
        std::memcpy(working_palette[i], data + 3 * i, 3);
        working_palette[i][3] = 255;
    }
    return 0;
}

unsigned read_transparency(const std::uint8_t* data, std::uint32_t length, PngInfo* info) {
    switch (info->colour_type) {
    case 3:
        if (length > info->palette_size) return png_error_palette_alpha;
        for (std::uint32_t i = 0; i < length; ++i) working_palette[i][3] = data[i];
        return 0;
    case 0:
        if (length != 2) return png_error_grey_key;
        info->key_r = big_endian_16(data);
        info->key_defined = 1;
        return 0;
    case 2:
        if (length != 6) return png_error_rgb_key;
        info->key_r = big_endian_16(data);
        info->key_g = big_endian_16(data + 2);
        info->key_b = big_endian_16(data + 4);
        info->key_defined = 1;
        return 0;
    default: return png_error_key_with_alpha;
    }
}

unsigned read_background(const std::uint8_t* data, std::uint32_t length, PngInfo* info) {
    switch (info->colour_type) {
    case 3:
        if (length != 1) return png_error_palette_background;
        info->background_r = data[0];
        break;
    case 0:
    case 4:
        if (length != 2) return png_error_grey_background;
        info->background_r = big_endian_16(data);
        break;
    default:
        if (length != 6) return png_error_rgb_background;
        info->background_r = big_endian_16(data);
        info->background_g = big_endian_16(data + 2);
        info->background_b = big_endian_16(data + 4);
        break;
    }
    info->background_defined = 1;
    return 0;
}

}  // namespace

unsigned png_read_header(const std::uint8_t* data, std::uint32_t size, PngInfo* info) {
    if (size < 29) return png_error_short_file;
    if (std::memcmp(data, signature, 8) != 0) return png_error_signature;
    if (std::memcmp(data + 12, "IHDR", 4) != 0) return png_error_no_header;
    info->width = big_endian_32(data + 16);
    info->height = big_endian_32(data + 20);
    info->bit_depth = data[24];
    info->colour_type = data[25];
    info->compression_method = data[26];
    info->filter_method = data[27];
    info->interlace_method = data[28];
    if (info->compression_method != 0) return png_error_compression;
    if (info->filter_method != 0) return png_error_filter_method;
    if (info->interlace_method > 1) return png_error_interlace;
    int type = info->colour_type;
    if (type != 0 && type != 2 && type != 3 && type != 4 && type != 6) return png_error_colour_type;
    if (!depth_allowed(type, info->bit_depth)) return png_error_bit_depth;
    info->channels = channels_of(type);
    info->bits_per_pixel = info->bit_depth * info->channels;
    return 0;
}

unsigned png_walk_chunks(std::uint8_t* data, std::uint32_t size, PngInfo* info, std::uint32_t* image_data_size) {
    std::uint64_t position = 33;
    std::uint32_t gathered = 0;
    for (;;) {
        if (position + 8 >= size) return png_error_chunk_header;
        std::uint32_t length = big_endian_32(data + position);
        const std::uint8_t* type = data + position + 4;
        std::uint8_t* body = data + position + 8;
        if (position + 8 + length > size) return png_error_chunk_data;
        unsigned error = 0;
        if (std::memcmp(type, "IDAT", 4) == 0) {
            std::memmove(data + gathered, body, length);
            gathered += length;
        } else if (std::memcmp(type, "IEND", 4) == 0) {
            break;
        } else if (std::memcmp(type, "PLTE", 4) == 0) {
            error = read_palette(body, length, info);
        } else if (std::memcmp(type, "tRNS", 4) == 0) {
            error = read_transparency(body, length, info);
        } else if (std::memcmp(type, "bKGD", 4) == 0) {
            error = read_background(body, length, info);
        }
        if (error) return error;
        position += 8 + std::uint64_t{length} + 4;
    }
    std::memcpy(info->palette, working_palette, 4 * info->palette_size);
    *image_data_size = gathered;
    return 0;
}
