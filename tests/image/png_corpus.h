// PNG files written and read back by libpng, the reference our decoder is
// held to. libpng's names stay out of this header: its png_error function
// would clash with the decoder's error code.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace test_image {

struct PngColour {
    std::uint8_t red, green, blue;
};

struct PngKey {
    std::uint16_t red, green, blue, gray;
};

// Colour types and filter choices as the PNG format numbers them.
enum : int { png_grey = 0, png_rgb = 2, png_palette = 3, png_grey_alpha = 4, png_rgba = 6 };
enum : int { png_filter_none = 0x08, png_filter_sub = 0x10, png_filter_up = 0x20, png_filter_average = 0x40,
             png_filter_paeth = 0x80, png_filter_all = 0xF8 };

struct PngPicture {
    std::uint32_t width = 1, height = 1;
    int colour_type = png_rgba;
    int bit_depth = 8;
    bool interlaced = false;
    std::vector<std::uint8_t> rows;  // packed samples as libpng takes them, row after row
    std::vector<PngColour> palette;
    std::vector<std::uint8_t> palette_alpha;  // tRNS of a palette image
    bool keyed = false;                       // tRNS colour key of a grey or RGB image
    PngKey key{};
    bool with_background = false;
    PngKey background{};  // palette images: index in `gray`
    bool with_private_chunk = false;  // an ancillary chunk of our own before IDAT
    int filters = png_filter_all;
    int level = 6;
    std::size_t idat_size = 8192;  // largest IDAT chunk
};

std::size_t png_row_bytes(const PngPicture& picture);

// Random samples; `few_colours` draws every pixel from four, so that keys
// and long matches occur. Palette images get `palette_size` random entries.
PngPicture png_random(std::uint32_t width, std::uint32_t height, int colour_type, int bit_depth, bool interlaced,
                   unsigned seed, bool few_colours = false, int palette_size = 0);

// Sets the tRNS key (grey, RGB) to the first pixel's value, or gives a
// palette image `count` entries of random alpha.
void png_add_transparency(PngPicture& picture, unsigned seed, std::size_t count = 0);

// Writes the file with libpng; empty on failure.
std::string png_encode(const PngPicture& picture);

// Reads a file with libpng as 8-bit RGBA: expanded, 16-bit samples cut to
// their high byte, a colour key turned into alpha 0. False on failure.
bool png_reference(const std::string& file, std::vector<std::uint8_t>& rgba, std::uint32_t& width,
                   std::uint32_t& height);

}  // namespace test_image
